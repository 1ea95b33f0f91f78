// The list operations the views edit a minute through.

#include "model/minutenodes.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The operations over two lists of their own.
struct OwnedNodes : MinuteNodes {
    OwnedNodes() : MinuteNodes(nodeList, clipList) {}
    NodeList nodeList;
    NodeList clipList;
};

class FixedShift : public LevelShiftSource {
public:
    int LevelShift() const override { return shift; }
    int shift = 0;
};

// Title and level of every node, as "A1 B2 C2".
std::string outline(const NodeList& list)
{
    std::string out;
    for (const auto& node : list) {
        if (!out.empty())
            out += ' ';
        out += node->GetTitle().toStdString() + std::to_string(node->GetLevel());
    }
    return out;
}

// A minute shaped A(1) B(2) C(2) D(1).
void fill(MinuteNodes& nodes)
{
    nodes.InsertNode(QStringLiteral("A"), 0, 1, QStringLiteral("a"), MinuteNodes::kSibling, 0);
    nodes.InsertNode(QStringLiteral("B"), 1, 2, QStringLiteral("b"), MinuteNodes::kSubItem, 1);
    nodes.InsertNode(QStringLiteral("C"), 2, 3, QStringLiteral("c"), MinuteNodes::kSibling, 1);
    nodes.InsertNode(QStringLiteral("D"), 1, 4, QString(), MinuteNodes::kSibling, 1);
}

} // namespace

TEST(MinuteNodes, InsertingFirstOrIntoAnEmptyMinuteGivesLevelOneAtTheHead)
{
    for (int relation : {MinuteNodes::kSubItem, MinuteNodes::kSibling, 7}) {
        OwnedNodes empty;
        empty.InsertNode(QStringLiteral("X"), 5, 9, QString(), relation, 1);
        EXPECT_EQ(outline(empty.GetNodeList()), "X1");
    }
    OwnedNodes nodes;
    fill(nodes);
    nodes.InsertNode(QStringLiteral("First"), 3, 1, QString(), MinuteNodes::kSubItem, 1);
    EXPECT_EQ(outline(nodes.GetNodeList()), "First1 A1 B2 C2 D1");
}

TEST(MinuteNodes, InsertTakesItsLevelFromTheReferenceOrTheRelation)
{
    OwnedNodes nodes;
    fill(nodes);
    EXPECT_EQ(outline(nodes.GetNodeList()), "A1 B2 C2 D1");
    EXPECT_EQ(nodes.GetNodeText(3), QStringLiteral("c"));

    nodes.InsertNode(QStringLiteral("Sub"), 3, 4, QString(), MinuteNodes::kSubItem, 1);
    nodes.InsertNode(QStringLiteral("Deep"), 1, 6, QString(), 5, 0);
    EXPECT_EQ(outline(nodes.GetNodeList()), "A1 B2 C2 Sub3 D1 Deep5");
    EXPECT_EQ(nodes.GetNodeList().at(5)->GetKind(), 0);

    // No node at the reference or before the new position: nothing happens.
    nodes.InsertNode(QStringLiteral("Lost"), 0, 3, QString(), MinuteNodes::kSibling, 1);
    nodes.InsertNode(QStringLiteral("Lost"), 99, 3, QString(), MinuteNodes::kSibling, 1);
    nodes.InsertNode(QStringLiteral("Lost"), 1, 9, QString(), MinuteNodes::kSibling, 1);
    EXPECT_EQ(nodes.GetNodeCount(), 6);
}

TEST(MinuteNodes, TitlesAreStoredAsTyped)
{
    OwnedNodes nodes;
    // A backslash in a title is part of it, not a path.
    nodes.InsertNode(QStringLiteral("Budget\\Q3"), 0, 1, QString(), 0, 1);
    EXPECT_EQ(nodes.GetNodeList().at(0)->GetTitle(), QStringLiteral("Budget\\Q3"));
    nodes.SetNodeTitle(QStringLiteral("Plans 2026/27"), 1);
    EXPECT_EQ(nodes.GetNodeList().at(0)->GetTitle(), QStringLiteral("Plans 2026/27"));
}

TEST(MinuteNodes, EmptyAndOutOfRangeIndexesGiveTheEmptyResults)
{
    OwnedNodes nodes;
    EXPECT_EQ(nodes.GetNodeText(1), QString());
    EXPECT_EQ(nodes.GetNodeLevel(0), -1);
    nodes.SetNodeText(1, QStringLiteral("ignored"));
    nodes.DeleteNode(QString(), 1);

    fill(nodes);
    EXPECT_EQ(nodes.GetNodeLevel(0), -1);
    EXPECT_EQ(nodes.GetNodeLevel(4), 1);
    EXPECT_EQ(nodes.GetNodeLevel(5), -1);
    EXPECT_EQ(nodes.GetNodeText(-3), QString());
    nodes.SetNodeText(std::numeric_limits<int>::min(), QStringLiteral("ignored"));
    nodes.DeleteNode(QString(), 5);
    EXPECT_EQ(outline(nodes.GetNodeList()), "A1 B2 C2 D1");
}

TEST(MinuteNodes, DeleteTextAndAttributesTouchOnlyTheirNode)
{
    OwnedNodes nodes;
    fill(nodes);
    nodes.SetNodeText(2, QStringLiteral("new b"));
    EXPECT_EQ(nodes.GetNodeText(2), QStringLiteral("new b"));

    EXPECT_TRUE(nodes.SetNodeAttributes(1, -1, -1));
    EXPECT_EQ(nodes.GetNodeList().at(0)->GetKind(), 0);
    EXPECT_EQ(nodes.GetNodeLevel(1), 1);
    nodes.SetNodeAttributes(1, 1, -1);
    EXPECT_EQ(nodes.GetNodeList().at(0)->GetKind(), 1);
    EXPECT_EQ(nodes.GetNodeLevel(1), 1);
    nodes.SetNodeAttributes(1, -1, 3);
    EXPECT_EQ(nodes.GetNodeList().at(0)->GetKind(), 1);
    EXPECT_EQ(nodes.GetNodeLevel(1), 3);

    nodes.DeleteNode(QStringLiteral("ignored\\path"), 1);
    EXPECT_EQ(outline(nodes.GetNodeList()), "B2 C2 D1");
}

TEST(MinuteNodes, CopyToClipShiftsLevelsAndReplacesThePreviousCopy)
{
    OwnedNodes nodes;
    FixedShift shift;
    nodes.SetLevelShiftSource(&shift);
    fill(nodes);
    nodes.GetNodeList().at(1)->SetReserved(42);

    shift.shift = 2;
    nodes.CopyNodesToClip(1, 3);
    EXPECT_EQ(outline(nodes.GetClipList()), "A3 B4 C4");
    const CTreeNode* copy = nodes.GetClipList().at(1);
    EXPECT_EQ(copy->GetText(), QStringLiteral("b"));
    EXPECT_EQ(copy->GetKind(), 1);
    EXPECT_EQ(copy->GetReserved(), 0u);
    EXPECT_EQ(outline(nodes.GetNodeList()), "A1 B2 C2 D1"); // the source is untouched

    shift.shift = 0;
    nodes.CopyNodesToClip(3, 10); // more than there are: stops at the end
    EXPECT_EQ(outline(nodes.GetClipList()), "C2 D1");
}

TEST(MinuteNodes, ExtremeLevelsFromAFileDoNotOverflow)
{
    OwnedNodes nodes;
    FixedShift shift;
    nodes.SetLevelShiftSource(&shift);
    nodes.InsertNode(QStringLiteral("A"), 0, 1, QString(), 0, 1);
    nodes.SetNodeAttributes(1, -1, std::numeric_limits<int>::max());
    nodes.InsertNode(QStringLiteral("B"), 1, 2, QString(), MinuteNodes::kSubItem, 1);
    EXPECT_EQ(nodes.GetNodeLevel(2), std::numeric_limits<int>::max());

    nodes.SetNodeAttributes(1, -1, std::numeric_limits<int>::min() + 1);
    shift.shift = -5;
    nodes.CopyNodesToClip(1, 1);
    EXPECT_EQ(nodes.GetClipList().at(0)->GetLevel(), std::numeric_limits<int>::min());
}

TEST(MinuteNodes, ClearEmptiesBothLists)
{
    OwnedNodes nodes;
    fill(nodes);
    nodes.CopyNodesToClip(1, 2);
    nodes.ClearNodes();
    EXPECT_EQ(nodes.GetNodeCount(), 0);
    EXPECT_TRUE(nodes.GetClipList().isEmpty());
}
