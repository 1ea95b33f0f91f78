#include "app/settingsprofile.h"
#include "catalogue/categorystore.h"
#include "platform/registry.h"
#include "testsupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CategoryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { profile.SetRegistryKey(QStringLiteral("Corvexa")); }

    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("registry.reg"))};
    SettingsProfile profile{registry};
    CategoryStore store{profile};
};

} // namespace

TEST_F(CategoryStoreTest, TwelveBuiltInCategoriesInTheirOrder)
{
    const QList<Category> predefined = CategoryStore::Predefined();
    ASSERT_EQ(predefined.size(), 12);
    EXPECT_EQ(predefined[0], (Category{QStringLiteral("Actions"), QStringLiteral("A set of action items"), true}));
    EXPECT_EQ(predefined[6], (Category{QStringLiteral("Blank"), QStringLiteral(" "), true}));
    EXPECT_EQ(predefined[11].name, QStringLiteral("Venue"));
}

TEST_F(CategoryStoreTest, UserCategoriesAreStoredInTheOrderAdded)
{
    EXPECT_TRUE(store.UserCategories().isEmpty());
    store.Add({QStringLiteral("Budget"), QStringLiteral("Money matters"), false});
    store.Add({QStringLiteral("Risks"), QStringLiteral("Open risks"), false});
    EXPECT_EQ(store.UserString(), QStringLiteral("Budget$S$Money matters,Risks$S$Open risks"));
    EXPECT_EQ(CategoryStore::ParseUserString(store.UserString()),
              (QList<Category>{{QStringLiteral("Budget"), QStringLiteral("Money matters"), false},
                               {QStringLiteral("Risks"), QStringLiteral("Open risks"), false}}));
}

TEST_F(CategoryStoreTest, ANameEndingAnotherCountsAsDefined)
{
    store.Add({QStringLiteral("Open Risks"), QString(), false});
    EXPECT_TRUE(store.IsDefined(QStringLiteral("Risks")));
    EXPECT_FALSE(store.IsDefined(QStringLiteral("Open")));
    // Only the user's string is searched: a built-in name may be taken again.
    EXPECT_FALSE(store.IsDefined(QStringLiteral("Venue")));
}

TEST_F(CategoryStoreTest, RemovingTakesOneCommaWithTheEntry)
{
    const QString three = QStringLiteral("A$S$1,B$S$2,C$S$3");
    EXPECT_EQ(CategoryStore::RemoveEntry(three, QStringLiteral("A")), QStringLiteral("B$S$2,C$S$3"));
    EXPECT_EQ(CategoryStore::RemoveEntry(three, QStringLiteral("B")), QStringLiteral("A$S$1,C$S$3"));
    EXPECT_EQ(CategoryStore::RemoveEntry(three, QStringLiteral("C")), QStringLiteral("A$S$1,B$S$2"));
    EXPECT_EQ(CategoryStore::RemoveEntry(QStringLiteral("A$S$1"), QStringLiteral("A")), QString());
    // The entry must begin with the name: "Risks" does not remove "Open Risks".
    EXPECT_EQ(CategoryStore::RemoveEntry(QStringLiteral("Open Risks$S$x"), QStringLiteral("Risks")), QStringLiteral("Open Risks$S$x"));

    store.Add({QStringLiteral("Only"), QString(), false});
    EXPECT_TRUE(store.Remove(QStringLiteral("Only")));
    EXPECT_EQ(store.UserString(), QString());
    EXPECT_FALSE(store.Remove(QStringLiteral("Only")));
}

TEST_F(CategoryStoreTest, SortedPositionComparesUpperCasedNamesFromTheTop)
{
    QStringList rows;
    for (const Category& category : CategoryStore::Predefined())
        rows.append(category.name);
    // "Budget" goes before the first greater name met from the top: "Date".
    EXPECT_EQ(CategoryStore::SortedPosition(rows, QStringLiteral("Budget")), 7);
    // The built-in rows are not in order: "Apologies" passes "Actions" and stops at "Attendees".
    EXPECT_EQ(CategoryStore::SortedPosition(rows, QStringLiteral("apologies")), 4);
    EXPECT_EQ(CategoryStore::SortedPosition(rows, QStringLiteral("Zebra")), 12);
}

TEST_F(CategoryStoreTest, NamesAndDescriptionsThatWouldBreakTheStringAreRefused)
{
    EXPECT_EQ(CategoryStore::CheckName(QString()), QStringLiteral("An agenda item category must have a name!"));
    EXPECT_EQ(CategoryStore::CheckName(QStringLiteral("a,b")), QStringLiteral("An agenda item category cannot contain\nthe characters '$' or ','"));
    EXPECT_EQ(CategoryStore::CheckName(QStringLiteral("$5")), QStringLiteral("An agenda item category cannot contain\nthe characters '$' or ','"));
    EXPECT_TRUE(CategoryStore::CheckName(QStringLiteral("Budget")).isEmpty());
    EXPECT_FALSE(CategoryStore::CheckDescription(QStringLiteral("one, two")).isEmpty());
    EXPECT_FALSE(CategoryStore::CheckDescription(QStringLiteral("a$S$b")).isEmpty());
    EXPECT_TRUE(CategoryStore::CheckDescription(QStringLiteral("costs in $")).isEmpty());
}
