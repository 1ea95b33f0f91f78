#pragma once

#include "framework/handhelddialog.h"

#include <QCalendarWidget>
#include <QDate>

// A month calendar that selects one day or a run of consecutive days: a tap
// selects a day, a tap with Shift (or a drag from one day to another, or
// Shift with the arrow keys) extends the run from the first day, never
// beyond the longest run allowed. The arrow keys alone move a single day.
class CRangeCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit CRangeCalendar(QWidget* parent = nullptr);

    void SetMaxSelectionCount(int days) { m_maxDays = std::max(1, days); }
    int MaxSelectionCount() const { return m_maxDays; }
    // Selects first to last, cut to the longest run allowed from first.
    void SetRange(const QDate& first, const QDate& last);
    QDate First() const { return m_first; }
    QDate Last() const { return m_last; }

signals:
    void rangeChanged(const QDate& first, const QDate& last);

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnClicked(const QDate& date);
    void OnSelectedDateChanged();
    // The day shown at a point of the calendar's grid.
    QDate DateAt(const QPoint& position) const;

    QDate m_first;
    QDate m_last;
    QDate m_anchor;
    QDate m_pressed;
    bool m_buttonDown = false;
    bool m_extend = false;    // Shift was held with the last key or press
    bool m_following = false; // the highlight is being moved to the run's end
    int m_maxDays = 7;
};

// "Select Date": a calendar starting at today. After OK the start and end
// fields hold the first and last day chosen.
class CSelectDateDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 141, IDC_CALENDAR = 40007 };

    explicit CSelectDateDlg(QWidget* parent = nullptr, const QDate& today = QDate::currentDate());

    unsigned short m_nStartDay = 0;
    QString m_strStartMonth;
    unsigned short m_nStartYear = 0;
    unsigned short m_nEndDay = 0;
    QString m_strEndMonth;
    unsigned short m_nEndYear = 0;

    CRangeCalendar* Calendar() const { return m_calendar; }
    // The date text of the fields: one day or a range.
    QString DateText() const;

protected:
    void OnInitDialog() override;

private:
    void OnSelectionChanged(const QDate& first, const QDate& last);

    CRangeCalendar* m_calendar;
    QDate m_today;
};
