// Meeting dates: the calendar's runs of days and the texts made of them.

#include "contacts/datetext.h"
#include "contacts/selectdatedialog.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(Dates, MonthNamesAreEnglish)
{
    EXPECT_EQ(MonthName(1), QStringLiteral("January"));
    EXPECT_EQ(MonthName(9), QStringLiteral("September"));
    EXPECT_EQ(MonthName(12), QStringLiteral("December"));
    EXPECT_EQ(MonthName(13), QString());
}

TEST(Dates, OneDayOrARange)
{
    EXPECT_EQ(DateText(QDate(2002, 3, 5), QDate(2002, 3, 5)), QStringLiteral("March 5, 2002"));
    EXPECT_EQ(DateText(QDate(2002, 3, 5), QDate(2002, 3, 8)), QStringLiteral("March 5, 2002 to March 8, 2002"));
    EXPECT_EQ(DateText(QDate(2002, 2, 27), QDate(2002, 3, 3)), QStringLiteral("February 27, 2002 to March 3, 2002"));
}

TEST(Dates, OkWithoutTouchingTheCalendarGivesToday)
{
    CSelectDateDlg dialog(nullptr, QDate(2026, 12, 8));
    dialog.InitDialog();
    EXPECT_EQ(dialog.DateText(), QStringLiteral("December 8, 2026"));
    EXPECT_EQ(dialog.m_nStartDay, 8);
    EXPECT_EQ(dialog.m_strEndMonth, QStringLiteral("December"));
    EXPECT_EQ(dialog.m_nEndYear, 2026);
    EXPECT_EQ(dialog.Calendar()->MaxSelectionCount(), 5);
}

TEST(Dates, RunsAreAtMostFiveDaysAndASingleTapStartsAgain)
{
    CSelectDateDlg dialog(nullptr, QDate(2002, 2, 20));
    dialog.InitDialog();
    CRangeCalendar* calendar = dialog.Calendar();
    calendar->SetRange(QDate(2002, 2, 27), QDate(2002, 3, 3));
    EXPECT_EQ(dialog.DateText(), QStringLiteral("February 27, 2002 to March 3, 2002"));

    // Longer runs are cut to five days from the first one chosen, either way.
    calendar->SetRange(QDate(2002, 3, 5), QDate(2002, 3, 20));
    EXPECT_EQ(calendar->Last(), QDate(2002, 3, 9));
    calendar->SetRange(QDate(2002, 3, 20), QDate(2002, 3, 5));
    EXPECT_EQ(calendar->First(), QDate(2002, 3, 16));
    EXPECT_EQ(calendar->Last(), QDate(2002, 3, 20));

    // A plain tap after a run: one day again.
    emit calendar->clicked(QDate(2002, 3, 11));
    EXPECT_EQ(dialog.DateText(), QStringLiteral("March 11, 2002"));
}
