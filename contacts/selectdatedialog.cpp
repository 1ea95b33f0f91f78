#include "contacts/selectdatedialog.h"

#include "contacts/datetext.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTableView>

CRangeCalendar::CRangeCalendar(QWidget* parent)
    : QCalendarWidget(parent)
{
    setGridVisible(true);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(this, &QCalendarWidget::clicked, this, &CRangeCalendar::OnClicked);
    connect(this, &QCalendarWidget::selectionChanged, this, &CRangeCalendar::OnSelectedDateChanged);
    if (auto* view = findChild<QTableView*>()) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
}

void CRangeCalendar::SetRange(const QDate& first, const QDate& last)
{
    if (!first.isValid() || !last.isValid())
        return;
    // The run goes from first toward last, at most the longest run allowed.
    const qint64 span = std::clamp<qint64>(first.daysTo(last), -(m_maxDays - 1), m_maxDays - 1);
    const QDate end = first.addDays(span);
    m_first = std::min(first, end);
    m_last = std::max(first, end);
    // The calendar's own highlight is the far end of the run, never a day
    // beyond it (a drag past the longest run would leave it there).
    if (selectedDate() != end) {
        const bool following = m_following;
        m_following = true;
        setSelectedDate(end);
        m_following = following;
    }
    updateCells();
    emit rangeChanged(m_first, m_last);
}

void CRangeCalendar::OnSelectedDateChanged()
{
    if (m_following)
        return;
    // The highlight moved by itself: the arrow keys (Shift extends the run),
    // or the mouse dragging on from the day it was pressed on.
    const QDate date = selectedDate();
    if (m_extend && m_anchor.isValid()) {
        SetRange(m_anchor, date);
    } else if (m_buttonDown && m_pressed.isValid()) {
        m_anchor = m_pressed;
        SetRange(m_pressed, date);
    } else {
        m_anchor = date;
        SetRange(date, date);
    }
}

void CRangeCalendar::OnClicked(const QDate& date)
{
    if (m_extend && m_anchor.isValid()) {
        SetRange(m_anchor, date);
        return;
    }
    const QDate pressed = m_pressed;
    m_pressed = QDate();
    if (pressed.isValid() && pressed != date) {
        // Dragged from one day to another.
        m_anchor = pressed;
        SetRange(pressed, date);
        return;
    }
    m_anchor = date;
    SetRange(date, date);
}

QDate CRangeCalendar::DateAt(const QPoint& position) const
{
    auto* view = findChild<QTableView*>();
    if (!view)
        return {};
    const QModelIndex index = view->indexAt(position);
    bool ok = false;
    const int day = index.data(Qt::DisplayRole).toInt(&ok);
    if (!index.isValid() || !ok)
        return {};
    // The first rows may show the end of the month before, the last rows the start of the next.
    QDate month(yearShown(), monthShown(), 1);
    if (index.row() <= 2 && day > 20)
        month = month.addMonths(-1);
    else if (index.row() >= 5 && day < 15)
        month = month.addMonths(1);
    return QDate(month.year(), month.month(), day);
}

bool CRangeCalendar::eventFilter(QObject* watched, QEvent* event)
{
    // Remember the day a press started on, so that a release elsewhere makes
    // a run, and whether Shift extends the run; the calendar acts after this.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressed = DateAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        m_buttonDown = true;
        m_extend = static_cast<QMouseEvent*>(event)->modifiers() & Qt::ShiftModifier;
        break;
    case QEvent::MouseButtonRelease:
        m_buttonDown = false;
        break;
    case QEvent::KeyPress:
        m_extend = static_cast<QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier;
        break;
    default:
        break;
    }
    return QCalendarWidget::eventFilter(watched, event);
}

void CRangeCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const
{
    if (!m_first.isValid() || date < m_first || date > m_last || date == selectedDate()) {
        QCalendarWidget::paintCell(painter, rect, date);
        return;
    }
    // The other days of the run look selected too.
    painter->save();
    painter->fillRect(rect, palette().color(QPalette::Highlight));
    painter->setPen(palette().color(QPalette::HighlightedText));
    painter->drawText(rect, Qt::AlignCenter, QString::number(date.day()));
    painter->restore();
}

CSelectDateDlg::CSelectDateDlg(QWidget* parent, const QDate& today)
    : HandheldDialog(IDD, tr("Select Date"), parent)
    , m_today(today)
{
    SetFullScreen(false);
    m_calendar = new CRangeCalendar(this);
    m_calendar->setObjectName(QString::number(IDC_CALENDAR));
    // Enter (or a double tap) confirms what is highlighted, as OK does.
    connect(m_calendar, &QCalendarWidget::activated, OkButton(), &QPushButton::click);
    m_calendar->setAccessibleName(QStringLiteral("Calender ctrl"));
    Body()->addWidget(m_calendar, 0, Qt::AlignCenter);
    SetFirstFocus(m_calendar);
    connect(m_calendar, &CRangeCalendar::rangeChanged, this, &CSelectDateDlg::OnSelectionChanged);
}

void CSelectDateDlg::OnInitDialog()
{
    m_calendar->SetMaxSelectionCount(5);
    m_calendar->setSelectedDate(m_today);
    m_calendar->SetRange(m_today, m_today);
}

void CSelectDateDlg::OnSelectionChanged(const QDate& first, const QDate& last)
{
    m_nStartDay = static_cast<unsigned short>(first.day());
    m_strStartMonth = MonthName(first.month());
    m_nStartYear = static_cast<unsigned short>(first.year());
    m_nEndDay = static_cast<unsigned short>(last.day());
    m_strEndMonth = MonthName(last.month());
    m_nEndYear = static_cast<unsigned short>(last.year());
}

QString CSelectDateDlg::DateText() const
{
    return ::DateText(m_calendar->First(), m_calendar->Last());
}
