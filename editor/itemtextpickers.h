#pragma once

#include <QString>

#include <functional>
#include <optional>

class CMinuteView;

// The texts the contact and meeting-date pickers give an item: the first
// text of a new "Date", "Attendees" or "Author" item, and the Show, Specify
// and Calendar commands. Also the title prompt for a "Blank" pick.
class ItemTextPickers {
public:
    explicit ItemTextPickers(CMinuteView& view) : m_view(view) {}

    // The title dialog shown for a "Blank" pick.
    QString PromptTitle();
    // Fills a new item's text from the pickers for "Date", "Attendees" and "Author".
    void PrefillText(const QString& title);
    // The pickers' texts; empty when cancelled.
    QString GetContactsText();
    QString GetDateText();

    void OnContactsShow();
    void OnContactsSpecify();
    void OnDatesCalendar();
    void OnDatesSpecify();

    // When set, gives the text of a new item in place of the pickers.
    std::function<QString(const QString& title)> m_prefillProvider;

private:
    // The pickers' results; none when cancelled.
    std::optional<QString> PickContacts();
    std::optional<QString> PickDate();
    // Puts a picked text at the caret of the selected item's text.
    void InsertPicked(const std::optional<QString>& text);

    CMinuteView& m_view;
};
