// The templates shipped with Quillon are well-formed agendas of catalogue categories.

#include "catalogue/categorystore.h"
#include "model/minutefile.h"
#include "testsupport.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(SampleTemplates, AreWellFormedAgendasOfCatalogueCategories)
{
    QStringList categories;
    for (const Category& category : CategoryStore::Predefined())
        categories.append(category.name);

    const QDir dir(QStringLiteral(QUILLON_TEMPLATES_DIR));
    const QStringList names = dir.entryList({QStringLiteral("*.min")}, QDir::Files, QDir::Name);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Board Meeting.min"), QStringLiteral("Project Status Meeting.min"),
                                  QStringLiteral("Weekly Team Meeting.min")}));
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        MinuteReader reader;
        NodeList list;
        ASSERT_TRUE(reader.Open(dir.filePath(name), name).ok());
        ASSERT_TRUE(reader.ReadInto(list).ok());
        ASSERT_GE(list.size(), 5);
        int previous = 0;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const CTreeNode& node = *list.at(i);
            EXPECT_TRUE(categories.contains(node.GetTitle())) << node.GetTitle().toStdString();
            EXPECT_GE(node.GetLevel(), 1);
            EXPECT_LE(node.GetLevel(), previous + 1);
            const bool hasSubItems = i + 1 < list.size() && list.at(i + 1)->GetLevel() > node.GetLevel();
            EXPECT_EQ(node.GetKind(), hasSubItems ? CTreeNode::kHasSubItems : CTreeNode::kLeaf);
            previous = node.GetLevel();
        }
    }
}
