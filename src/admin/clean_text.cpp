#include "admin/clean_text.h"

#include "common/text_codec.h"

QString CleanText(QString& text)
{
    text = controlsAsSpaces(text);
    for (QChar& c : text) {
        if (c == u'|' || c == u'"' || c == u'\'')
            c = u' ';
    }
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

QString cleanedName(QString name)
{
    return CleanText(name);
}
