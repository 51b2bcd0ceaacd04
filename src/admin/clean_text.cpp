#include "admin/clean_text.h"

QString CleanText(QString& text)
{
    for (QChar& c : text) {
        if (c == u'|' || c == u'"' || c == u'\'')
            c = u' ';
    }
    // Only spaces are trimmed, as before; tabs and other white space stay.
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}
