#include "common/pad_field.h"

QString PadField(const QString& text, int width, QChar fill, bool leftJustify)
{
    const QString trimmed = text.trimmed();
    if (width <= 0)
        return {};
    if (trimmed.size() < width) {
        const QString padding(width - trimmed.size(), fill);
        return leftJustify ? trimmed + padding : padding + trimmed;
    }
    return leftJustify ? trimmed.left(width) : trimmed.right(width);
}

QString Mid(const QString& record, int start, int length)
{
    if (start < 1 || length <= 0 || start > record.size())
        return {};
    return record.mid(start - 1, length);
}

QString Mid(const QString& record, int start)
{
    if (start < 1 || start > record.size())
        return {};
    return record.mid(start - 1);
}

int leadingNumber(const QString& text)
{
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 100000)
            break;
    }
    return value;
}
