#pragma once

#include <QDate>
#include <QDateTime>
#include <optional>

// The one source of "today" for date rules, so that tests can fix it.
class Today {
public:
    static QDate date();
    static QDateTime now();
    // Tests fix the date; an empty value returns to the system clock.
    static void set(std::optional<QDateTime> fixed);
};

// A two-digit year read into the century that puts it at most 20 years after today, else before it.
int expandTwoDigitYear(int twoDigitYear, const QDate& today = Today::date());

// "mm/dd/yy" style parts into a date; an invalid date when a part is not a number or out of range.
QDate dateFromParts(const QString& month, const QString& day, const QString& twoDigitYear);
