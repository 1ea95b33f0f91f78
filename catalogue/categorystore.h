#pragma once

#include <QList>
#include <QString>

class SettingsProfile;

// An agenda item category: the title it gives an item, and what it is for.
struct Category {
    QString name;
    QString description;
    bool predefined = false;

    friend bool operator==(const Category&, const Category&) = default;
};

// The catalogue of categories: twelve built in, and the user's own, kept in
// the settings value "Categories"/"UserAttCategories" as
// name$S$description entries joined by commas, in the order they were added.
class CategoryStore {
public:
    explicit CategoryStore(SettingsProfile& profile);

    static QList<Category> Predefined();
    // The stored string and the categories it holds, read afresh each time.
    QString UserString() const;
    QList<Category> UserCategories() const;
    static QList<Category> ParseUserString(const QString& stored);

    // Whether the stored string already holds name$S$ (anywhere, as a user
    // category's name may end another's).
    bool IsDefined(const QString& name) const;
    // Appends the category to the stored string; false when it could not be written.
    bool Add(const Category& category);
    // Removes the category named name; false when there is none or it could not be written.
    bool Remove(const QString& name);
    // The stored string without the entry for name (and one comma beside it).
    static QString RemoveEntry(const QString& stored, const QString& name);

    // The row before which a category called name goes in a list whose rows
    // have these names: before the first whose upper-cased name is greater.
    static int SortedPosition(const QStringList& rowNames, const QString& name);

    // The message for a name or description that cannot be stored; empty when it can.
    static QString CheckName(const QString& name);
    static QString CheckDescription(const QString& description);

    static const QString kSeparator; // "$S$"

private:
    bool Store(const QString& stored);

    SettingsProfile& m_profile;
};
