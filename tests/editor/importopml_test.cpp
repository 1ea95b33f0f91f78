// File > Import > OPML: a new untitled minute from another outliner's file,
// and nothing touched when the file is no outline or the user draws back.

#include "editorfixture.h"

#include "framework/commandids.h"
#include "testsupport.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {

class ImportOpmlTest : public EditorTest {
protected:
    void StartWithMinute()
    {
        Start({WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Attendees"), QStringLiteral("Ann")}})});
    }
    QString WriteOutline(const QByteArray& body)
    {
        const QString path = dir.filePath(QStringLiteral("outline.opml"));
        EXPECT_TRUE(testsupport::writeFile(path, body));
        return path;
    }
    // Imports through the menu bar, from the keyboard.
    void ImportFromMenu(const QString& path)
    {
        ui.fileAnswers.push_back(path);
        QTest::keyClick(Frame(), Qt::Key_F, Qt::AltModifier);
        auto* file = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(file, nullptr);
        QTest::keyClick(file, Qt::Key_M);
        auto* import = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(import, nullptr);
        ASSERT_NE(import, file);
        QTest::keyClick(import, Qt::Key_O);
    }
};

const QByteArray kOutline = R"(<?xml version="1.0" encoding="UTF-8"?>
<opml version="2.0"><head><title>Plans</title></head><body>
  <outline text="Budget &amp; costs" _note="Line one&#10;Line two" created="Mon, 07 Dec 2026">
    <outline text="Caf&#233; &lt;b&gt;" note="from a note attribute"/>
  </outline>
  <outline _note="no title"/>
</body></opml>
)";

} // namespace

TEST_F(ImportOpmlTest, AnOutlineBecomesANewUntitledMinute)
{
    StartWithMinute();
    ShowFrame();
    ImportFromMenu(WriteOutline(kOutline));
    EXPECT_EQ(ui.fileDialogs.back().title, QStringLiteral("Import OPML file"));
    EXPECT_TRUE(ui.fileDialogs.back().mustExist);
    EXPECT_EQ(Nodes(), "Budget & costs/1/0 Café <b>/2/1 /1/1");
    EXPECT_EQ(Outline(), "Untitled[Budget & costs[Café <b>] ]");
    EXPECT_EQ(Doc()->GetNodeList().at(0)->GetText(), QStringLiteral("Line one\nLine two"));
    EXPECT_EQ(Doc()->GetNodeList().at(1)->GetText(), QStringLiteral("from a note attribute"));
    EXPECT_EQ(Doc()->GetPath(), CQuillonDoc::kUntitled);
    // It has no file yet: leaving it asks to save.
    EXPECT_TRUE(Doc()->IsMinuteModified());
    EXPECT_TRUE(ui.unanswered.isEmpty());
}

TEST_F(ImportOpmlTest, AFileThatIsNoOutlineOrACancelledSaveQuestionChangesNothing)
{
    StartWithMinute();
    ShowFrame();
    const std::string before = Nodes();
    const QString path = Doc()->GetPath();
    for (const QByteArray& notOpml : {QByteArray("<html><body>Hi</body></html>"), QByteArray("{\"a\": 1}"), QByteArray()}) {
        ui.messages.clear();
        ImportFromMenu(WriteOutline(notOpml));
        ASSERT_EQ(ui.messages.size(), 1u) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(ui.messages[0].text.startsWith(dir.filePath(QStringLiteral("outline.opml")) + QStringLiteral(" is not an OPML file")))
            << ui.messages[0].text.toStdString() << " " << ui.fileDialogs.size();
        EXPECT_EQ(Nodes(), before);
        EXPECT_EQ(Doc()->GetPath(), path);
        EXPECT_FALSE(Doc()->IsMinuteModified());
    }

    // A changed minute is asked about first; Cancel keeps it as it is.
    Doc()->SetMinuteModified(true);
    ui.answers.push_back(IDCANCEL);
    ImportFromMenu(WriteOutline(kOutline));
    EXPECT_EQ(Nodes(), before);
    // The outline is not left waiting for the next new minute.
    Doc()->SetMinuteModified(false);
    dialogs[QStringLiteral("146")] = [](QDialog&) { return IDOK; };
    ASSERT_TRUE(Send(cmd::New));
    EXPECT_EQ(Nodes(), "");
}
