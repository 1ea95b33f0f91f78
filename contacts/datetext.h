#pragma once

#include <QDate>
#include <QString>

// The English name of a month (1 to 12), whatever the language of the device.
QString MonthName(int month);

// "March 5, 2002" for one day; "March 5, 2002 to March 8, 2002" for a range.
QString DateText(const QDate& first, const QDate& last);
