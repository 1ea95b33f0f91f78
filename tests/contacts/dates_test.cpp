// Meeting dates: the calendar's runs of days and the texts made of them.

#include "contacts/datetext.h"
#include "contacts/selectdatedialog.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

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

namespace {

// The cell of a day between the 8th and the 20th, which the month shows once.
QPoint CellOf(QTableView* view, int day)
{
    QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (index.data(Qt::DisplayRole).toString() == QString::number(day))
                return view->visualRect(index).center();
        }
    }
    ADD_FAILURE() << "no cell for day " << day;
    return {};
}

} // namespace

TEST(Dates, WhatTheKeysHighlightIsWhatOkAndEnterWrite)
{
    CSelectDateDlg dialog(nullptr, QDate(2002, 3, 11));
    dialog.InitDialog();
    dialog.show();
    auto* view = dialog.Calendar()->findChild<QTableView*>();
    ASSERT_TRUE(view);

    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(dialog.Calendar()->selectedDate(), QDate(2002, 3, 19));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.DateText(), QStringLiteral("March 19, 2002"));
    EXPECT_EQ(dialog.m_nStartDay, 19);
    EXPECT_EQ(dialog.m_nEndDay, 19);

    // Shift with the arrows makes a run, no longer than five days; Enter confirms it.
    dialog.setResult(0);
    QTest::keyClick(view, Qt::Key_Left);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(dialog.Calendar()->selectedDate(), QDate(2002, 3, 22));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.DateText(), QStringLiteral("March 18, 2002 to March 22, 2002"));
}

TEST(Dates, ADragPastFiveDaysHighlightsAndWritesFive)
{
    CSelectDateDlg dialog(nullptr, QDate(2002, 3, 1));
    dialog.InitDialog();
    dialog.show();
    auto* view = dialog.Calendar()->findChild<QTableView*>();
    ASSERT_TRUE(view);
    QWidget* cells = view->viewport();

    QTest::mousePress(cells, Qt::LeftButton, {}, CellOf(view, 11));
    QTest::mouseMove(cells, CellOf(view, 13));
    QTest::mouseMove(cells, CellOf(view, 17));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, CellOf(view, 17));
    EXPECT_EQ(dialog.Calendar()->First(), QDate(2002, 3, 11));
    EXPECT_EQ(dialog.Calendar()->Last(), QDate(2002, 3, 15));
    EXPECT_EQ(dialog.Calendar()->selectedDate(), QDate(2002, 3, 15));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.DateText(), QStringLiteral("March 11, 2002 to March 15, 2002"));
}
