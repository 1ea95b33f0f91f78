// The single-document flows around a document's own steps.

#include "framework/doctemplate.h"
#include "framework/document.h"
#include "framework/view.h"

#include <gtest/gtest.h>

namespace {

// A document whose open either cannot start, fails part-way, or succeeds.
class StubDocument : public Document {
public:
    enum OpenOutcome { CannotOpen, FailsWhileReading, Opens };

    bool SaveModified() override
    {
        ++saveChecks;
        return allowReplace;
    }
    bool OnNewDocument() override
    {
        ++newCount;
        contents = "new";
        return Document::OnNewDocument();
    }
    bool OnOpenDocument(const QString& path) override
    {
        if (outcome == CannotOpen)
            return false;
        SetModifiedFlag(true);
        contents.clear();
        if (outcome == FailsWhileReading)
            return false;
        contents = path.toStdString();
        SetModifiedFlag(false);
        return true;
    }

    OpenOutcome outcome = Opens;
    bool allowReplace = true;
    int saveChecks = 0;
    int newCount = 0;
    std::string contents = "old";
};

struct CountingView : View {
    void OnInitialUpdate() override { ++initialUpdates; }
    int initialUpdates = 0;
};

class DocTemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        document.AddView(&view);
        document.SetPathName(QStringLiteral("/minutes/old.min"));
        document.SetModifiedFlag(true);
    }

    StubDocument document;
    CountingView view;
    SingleDocTemplate docTemplate{document};
};

} // namespace

TEST_F(DocTemplateTest, AFileThatCannotBeOpenedLeavesTheDocumentAsItWas)
{
    document.outcome = StubDocument::CannotOpen;
    EXPECT_FALSE(docTemplate.OpenDocumentFile(QStringLiteral("/minutes/new.min")));
    EXPECT_EQ(document.contents, "old");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.GetPathName(), QStringLiteral("/minutes/old.min"));
    EXPECT_EQ(view.initialUpdates, 0);
}

TEST_F(DocTemplateTest, AFileThatFailsWhileReadingStartsANewUntitledDocument)
{
    document.outcome = StubDocument::FailsWhileReading;
    EXPECT_FALSE(docTemplate.OpenDocumentFile(QStringLiteral("/minutes/new.min")));
    EXPECT_EQ(document.newCount, 1);
    EXPECT_EQ(document.contents, "new");
    EXPECT_EQ(document.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_EQ(document.GetPathName(), QString());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(view.initialUpdates, 1);
}

TEST_F(DocTemplateTest, AnOpenedFileGivesPathTitleAndInitialUpdates)
{
    EXPECT_TRUE(docTemplate.OpenDocumentFile(QStringLiteral("/minutes/new.min")));
    EXPECT_EQ(document.saveChecks, 1);
    EXPECT_EQ(document.contents, "/minutes/new.min");
    EXPECT_EQ(document.GetPathName(), QStringLiteral("/minutes/new.min"));
    EXPECT_EQ(document.GetTitle(), QStringLiteral("new.min"));
    EXPECT_EQ(view.initialUpdates, 1);
}

TEST_F(DocTemplateTest, TheSaveChangesCheckCanStopBothFlows)
{
    document.allowReplace = false;
    EXPECT_FALSE(docTemplate.OpenDocumentFile(QStringLiteral("/minutes/new.min")));
    EXPECT_FALSE(docTemplate.NewDocument());
    EXPECT_EQ(document.contents, "old");
    EXPECT_EQ(document.newCount, 0);
    EXPECT_EQ(view.initialUpdates, 0);

    document.allowReplace = true;
    EXPECT_TRUE(docTemplate.NewDocument());
    EXPECT_EQ(document.contents, "new");
    EXPECT_EQ(document.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_EQ(view.initialUpdates, 1);
}
