#include "contacts/datetext.h"

QString MonthName(int month)
{
    static const char* const kNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    return month >= 1 && month <= 12 ? QString::fromLatin1(kNames[month - 1]) : QString();
}

QString DateText(const QDate& first, const QDate& last)
{
    const QString start = QStringLiteral("%1 %2, %3").arg(MonthName(first.month())).arg(first.day()).arg(first.year());
    if (first == last)
        return start;
    return start + QStringLiteral(" to %1 %2, %3").arg(MonthName(last.month())).arg(last.day()).arg(last.year());
}
