#include "catalogue/categorystore.h"

#include "app/settingsprofile.h"

#include <QStringList>

namespace {

const QString kSection = QStringLiteral("Categories");
const QString kEntry = QStringLiteral("UserAttCategories");

Category FromEntry(const QString& entry, bool predefined)
{
    const qsizetype cut = entry.indexOf(CategoryStore::kSeparator);
    if (cut < 0)
        return {entry, QString(), predefined};
    return {entry.left(cut), entry.mid(cut + CategoryStore::kSeparator.size()), predefined};
}

} // namespace

const QString CategoryStore::kSeparator = QStringLiteral("$S$");

CategoryStore::CategoryStore(SettingsProfile& profile)
    : m_profile(profile)
{
}

QList<Category> CategoryStore::Predefined()
{
    static const char* const kEntries[] = {
        "Actions$S$A set of action items",
        "Action - New$S$A task that needs to be performed",
        "Action - Old$S$A task carried forward from a previous meeting",
        "Agenda$S$Meeting format",
        "Attendees$S$Meeting attendees",
        "Author$S$The person who wrote the minute",
        "Blank$S$ ",
        "Date$S$Date of a meeting",
        "Minute Title$S$ ",
        "Purpose of meeting$S$ ",
        "Project Title$S$Title of relevant project",
        "Venue$S$The location of the meeting",
    };
    QList<Category> result;
    for (const char* entry : kEntries)
        result.append(FromEntry(QString::fromLatin1(entry), true));
    return result;
}

QString CategoryStore::UserString() const
{
    return m_profile.ReadString(kSection, kEntry, QString());
}

QList<Category> CategoryStore::UserCategories() const
{
    return ParseUserString(UserString());
}

QList<Category> CategoryStore::ParseUserString(const QString& stored)
{
    // Names and descriptions never hold commas, so the entries are what lies between them.
    QList<Category> result;
    for (const QString& entry : stored.split(QLatin1Char(','), Qt::SkipEmptyParts))
        result.append(FromEntry(entry, false));
    return result;
}

bool CategoryStore::IsDefined(const QString& name) const
{
    return UserString().contains(name + kSeparator);
}

bool CategoryStore::Store(const QString& stored)
{
    return m_profile.WriteString(kSection, kEntry, stored);
}

bool CategoryStore::Add(const Category& category)
{
    QString stored = UserString();
    if (!stored.isEmpty())
        stored += QLatin1Char(',');
    stored += category.name + kSeparator + category.description;
    return Store(stored);
}

QString CategoryStore::RemoveEntry(const QString& stored, const QString& name)
{
    QStringList entries = stored.split(QLatin1Char(','));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).startsWith(name + kSeparator)) {
            // Joining again drops the comma after the entry, or before it when it was the last.
            entries.removeAt(i);
            return entries.join(QLatin1Char(','));
        }
    }
    return stored;
}

bool CategoryStore::Remove(const QString& name)
{
    const QString stored = UserString();
    const QString remaining = RemoveEntry(stored, name);
    return remaining != stored && Store(remaining);
}

int CategoryStore::SortedPosition(const QStringList& rowNames, const QString& name)
{
    const QString key = name.toUpper();
    for (int row = 0; row < rowNames.size(); ++row) {
        // By character code, as the names compare on the device.
        if (rowNames.at(row).toUpper().compare(key, Qt::CaseSensitive) > 0)
            return row;
    }
    return int(rowNames.size());
}

QString CategoryStore::CheckName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("An agenda item category must have a name!");
    if (name.contains(QLatin1Char('$')) || name.contains(QLatin1Char(',')))
        return QStringLiteral("An agenda item category cannot contain\nthe characters '$' or ','");
    return {};
}

QString CategoryStore::CheckDescription(const QString& description)
{
    if (description.contains(QLatin1Char(',')) || description.contains(kSeparator))
        return QStringLiteral("A description cannot contain a comma or the characters '$S$'.");
    return {};
}
