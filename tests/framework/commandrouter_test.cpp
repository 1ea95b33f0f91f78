// Commands go to the active view, its document, the frame, the application,
// and last to the document's other views; enabling follows the same route.

#include "framework/commandrouter.h"
#include "framework/document.h"
#include "framework/uiservice.h"
#include "framework/view.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_trail;

class Target : public CommandTarget {
public:
    Target(const char* name, std::initializer_list<int> ids)
    {
        for (int id : ids)
            OnCommand(id, [name] { g_trail += name; });
    }
};

class TestView : public View {
public:
    TestView(const char* name, std::initializer_list<int> ids, bool enabled = true)
    {
        for (int id : ids)
            OnCommand(id, [name] { g_trail += name; }, [enabled](CmdUI& ui) { ui.Enable(enabled); });
    }
};

class TestDocument : public Document {
public:
    explicit TestDocument(std::initializer_list<int> ids)
    {
        for (int id : ids)
            OnCommand(id, [] { g_trail += "doc"; });
    }
};

} // namespace

TEST(CommandRouting, ActiveViewThenDocumentThenFrameThenApplicationThenOtherViews)
{
    TestDocument document({2, 7});
    TestView tree("tree", {1, 5, 6});
    TestView text("text", {1, 3});
    document.AddView(&tree);
    document.AddView(&text);
    Target frame("frame", {2, 4});
    Target app("app", {4, 8});

    const struct {
        int id;
        View* active;
        const char* expected;
    } cases[] = {
        {1, &text, "text"},   // the active view first
        {1, &tree, "tree"},
        {2, &text, "doc"},    // the document before the frame
        {4, &text, "frame"},  // the frame before the application
        {8, &text, "app"},    // the application before the other views
        {5, &text, "tree"},   // a tree command while the text pane is active
        {3, &tree, "text"},   // and the other way round
        {6, nullptr, ""},     // no active view: no document to ask
    };
    for (const auto& c : cases) {
        g_trail.clear();
        EXPECT_EQ(RouteCommand(c.active, &frame, &app, c.id, nullptr), *c.expected != '\0') << c.id;
        EXPECT_EQ(g_trail, c.expected) << c.id;
    }
}

TEST(CommandRouting, EnableStateTakesTheSameRoute)
{
    TestDocument document({});
    TestView tree("tree", {5}, false);
    TestView text("text", {3});
    document.AddView(&tree);
    document.AddView(&text);
    Target frame("frame", {4});

    CmdUI ui{5};
    EXPECT_TRUE(RouteCommand(&text, &frame, nullptr, 5, &ui));
    EXPECT_FALSE(ui.enabled);

    ui = CmdUI{4};
    ui.enabled = false;
    EXPECT_TRUE(RouteCommand(&text, &frame, nullptr, 4, &ui));
    EXPECT_TRUE(ui.enabled); // a handler without an enable rule is enabled

    ui = CmdUI{99};
    EXPECT_FALSE(RouteCommand(&text, &frame, nullptr, 99, &ui));
    EXPECT_FALSE(ui.enabled);
    g_trail.clear();
    EXPECT_TRUE(g_trail.empty()); // asking for the state ran no handler
}

TEST(CommandRouting, UpdatesSkipTheirSender)
{
    struct Recorder : View {
        void OnUpdate(View* sender, qintptr hint) override { seen.push_back({sender, hint}); }
        std::vector<std::pair<View*, qintptr>> seen;
    };
    Document document;
    Recorder a;
    Recorder b;
    document.AddView(&a);
    document.AddView(&b);
    document.UpdateAllViews(&a, 42);
    EXPECT_TRUE(a.seen.empty());
    ASSERT_EQ(b.seen.size(), 1u);
    EXPECT_EQ(b.seen[0].first, &a);
    EXPECT_EQ(b.seen[0].second, 42);

    document.RemoveView(&b);
    EXPECT_EQ(b.GetDocument(), nullptr);
    document.UpdateAllViews(nullptr, 1);
    EXPECT_EQ(a.seen.size(), 1u);
    EXPECT_EQ(b.seen.size(), 1u);
}

TEST(FileFilter, PairsEndAtTheDoubleBar)
{
    const QList<FileFilter> filters = ParseFileFilter(QStringLiteral("Minute files (*.min)|*.min|All (*.*)|*.*||ignored|x"));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0].description, QStringLiteral("Minute files (*.min)"));
    EXPECT_EQ(filters[0].pattern, QStringLiteral("*.min"));
    EXPECT_EQ(filters[1].pattern, QStringLiteral("*.*"));
}
