#include "common/today.h"

namespace {
std::optional<QDateTime>& fixedNow()
{
    static std::optional<QDateTime> value;
    return value;
}
} // namespace

QDate Today::date()
{
    return now().date();
}

QDateTime Today::now()
{
    return fixedNow() ? *fixedNow() : QDateTime::currentDateTime();
}

void Today::set(std::optional<QDateTime> fixed)
{
    fixedNow() = std::move(fixed);
}

int expandTwoDigitYear(int twoDigitYear, const QDate& today)
{
    const int yy = ((twoDigitYear % 100) + 100) % 100;
    const int pivot = today.year() + 20;
    int year = (pivot / 100) * 100 + yy;
    if (year > pivot)
        year -= 100;
    return year;
}

QDate dateFromParts(const QString& month, const QString& day, const QString& twoDigitYear)
{
    bool okM = false, okD = false, okY = false;
    const int m = month.trimmed().toInt(&okM);
    const int d = day.trimmed().toInt(&okD);
    const int y = twoDigitYear.trimmed().toInt(&okY);
    if (!okM || !okD || !okY)
        return {};
    return QDate(expandTwoDigitYear(y), m, d);
}
