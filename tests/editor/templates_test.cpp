// New minutes from templates, and saving and deleting templates.

#include "editorfixture.h"

#include "editor/templatedialogs.h"
#include "framework/commandids.h"
#include "model/minutefile.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

class TemplatesTest : public EditorTest {
protected:
    // Installs to \Program Files\Quillon with these templates.
    void Install(const QStringList& templates)
    {
        Registry registry(DevicePath(QStringLiteral("registry.reg")));
        const QString key = QStringLiteral("SOFTWARE\\Apps\\Corvexa Quillon for Pocket PCs");
        registry.createKey(RegistryHive::LocalMachine, key);
        registry.setValue(RegistryHive::LocalMachine, key, QStringLiteral("InstallDir"),
                          RegistryValue::fromString(QStringLiteral("\\Program Files\\Quillon")));
        QDir().mkpath(TemplatesFolder());
        for (const QString& name : templates) {
            NodeList list;
            list.append(std::make_unique<CTreeNode>(QStringLiteral("From ") + name, QString(), 1, 1));
            const QString path = TemplatesFolder() + QLatin1Char('/') + name;
            ASSERT_TRUE(WriteMinuteFile(path, path, list).ok());
        }
    }
    QString TemplatesFolder() const { return DevicePath(QStringLiteral("Program Files/Quillon/Templates")); }
    QStringList TemplateFiles() const
    {
        QStringList names = QDir(TemplatesFolder()).entryList({QStringLiteral("*.min")}, QDir::Files, QDir::Name);
        return names;
    }
    // Answers the Save As Template dialog by selecting an entry (or none) and typing a name.
    void AnswerSaveAsTemplate(const QString& select, const QString& name, QStringList* listed = nullptr)
    {
        dialogs[QStringLiteral("152")] = [=](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
            if (listed) {
                for (int i = 0; i < list->count(); ++i)
                    listed->append(list->item(i)->text());
            }
            if (!select.isEmpty())
                list->setCurrentItem(list->findItems(select, Qt::MatchExactly).first());
            if (!name.isNull())
                dialog.findChild<QLineEdit*>(QStringLiteral("1012"))->setText(name);
            dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
            return dialog.result() == IDOK ? IDOK : IDCANCEL;
        };
    }
};

} // namespace

TEST_F(TemplatesTest, ANewMinuteStartsFromTheFirstTemplateUntitled)
{
    Install({QStringLiteral("Weekly.min")});
    Start();
    QString seen;
    dialogs[QStringLiteral("146")] = [&seen](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
        seen = list->currentItem()->text() + QLatin1Char('|')
            + (dialog.findChild<QRadioButton*>(QStringLiteral("1011"))->isChecked() ? "template" : "blank");
        return IDOK;
    };
    ASSERT_TRUE(Send(cmd::New));
    EXPECT_EQ(seen, QStringLiteral("Weekly.min|template"));
    EXPECT_EQ(Outline(), "Untitled[From Weekly.min]");
    EXPECT_EQ(Doc()->GetPath(), QStringLiteral("Untitled"));
    EXPECT_FALSE(Doc()->GetReplacePending());
    // Untitled: Save asks for a file.
    ui.fileAnswers.push_back(std::nullopt);
    Send(cmd::Save);
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs.back().title, QStringLiteral("Save minute as"));
}

TEST_F(TemplatesTest, WithoutTemplatesOnlyABlankMinuteIsOffered)
{
    Start(); // no installation folder at all
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), {}}});
    ui.fileAnswers.push_back(path);
    Send(cmd::Open);
    QString seen;
    dialogs[QStringLiteral("146")] = [&seen](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
        seen = list->item(0)->text() + QLatin1Char('|')
            + (dialog.findChild<QRadioButton*>(QStringLiteral("1011"))->isEnabled() ? "template enabled" : "template disabled")
            + QLatin1Char('|') + (dialog.findChild<QRadioButton*>(QStringLiteral("1014"))->isChecked() ? "blank" : "?");
        return IDCANCEL;
    };
    ASSERT_TRUE(Send(cmd::New));
    EXPECT_EQ(seen, QStringLiteral("** None found **|template disabled|blank"));
    EXPECT_EQ(Outline(), "Board.min[Venue]"); // cancelled: untouched

    dialogs[QStringLiteral("146")] = [](QDialog&) { return IDOK; };
    Send(cmd::New);
    EXPECT_EQ(Outline(), "Untitled");
}

TEST_F(TemplatesTest, ADoubleTapTakesATemplateAndACancelledSaveQuestionKeepsTheTreeAlive)
{
    Install({QStringLiteral("Weekly.min")});
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), {}}, {1, QStringLiteral("Date"), {}}});
    Start({path});
    Doc()->SetMinuteModified(true);
    dialogs[QStringLiteral("146")] = [](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
        emit list->itemDoubleClicked(list->item(0));
        return dialog.result();
    };
    ui.answers.push_back(IDCANCEL); // "Save changes to ...?"
    Send(cmd::New);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Save changes to %1?").arg(path)});
    EXPECT_EQ(Outline(), "Board.min[Venue Date]");
    Select(2);
    EXPECT_EQ(Tree()->SelectedIndex(), 2); // selections still reach the text pane
}

TEST_F(TemplatesTest, SaveAsTemplateCutsTheNameAtItsFirstDot)
{
    Install({QStringLiteral("Board.min")});
    const QString path = WriteMinute(QStringLiteral("Mine.min"), {{1, QStringLiteral("Venue"), {}}});
    Start({path});
    for (const char* typed : {"Weekly", "Weekly.min", "Weekly.old.min"}) {
        QStringList listed;
        AnswerSaveAsTemplate(QString(), QString::fromLatin1(typed), &listed);
        if (QString::fromLatin1(typed) != QLatin1String("Weekly"))
            ui.answers.push_back(IDYES); // "Replace template Weekly.min ? "
        ASSERT_TRUE(Send(cmd::SaveAsTemplate));
        EXPECT_TRUE(listed.contains(QStringLiteral("Board.min")));
    }
    EXPECT_EQ(TemplateFiles(), (QStringList{QStringLiteral("Board.min"), QStringLiteral("Weekly.min")}));
    EXPECT_EQ(ui.messageTexts(), QStringList(2, QStringLiteral("Replace template Weekly.min ? ")));
    // The minute keeps its own path.
    EXPECT_EQ(Doc()->GetPath(), path);
    EXPECT_EQ(Doc()->GetOpenPath(), path);
}

TEST_F(TemplatesTest, SaveAsTemplateCommitsTypingAndKeepsTheMinuteUnsaved)
{
    Install({QStringLiteral("Board.min")});
    const QString path = WriteMinute(QStringLiteral("Mine.min"), {{1, QStringLiteral("Venue"), {}}});
    Start({path});
    Text()->setPlainText(QStringLiteral("Room 7"));
    AnswerSaveAsTemplate(QString(), QStringLiteral("Rooms"));
    ASSERT_TRUE(Send(cmd::SaveAsTemplate));
    MinuteReader reader;
    NodeList saved;
    const QString file = TemplatesFolder() + QStringLiteral("/Rooms.min");
    ASSERT_TRUE(reader.Open(file, file).ok());
    ASSERT_TRUE(reader.ReadInto(saved).ok());
    EXPECT_EQ(saved.at(0)->GetText(), QStringLiteral("Room 7"));
    EXPECT_TRUE(Doc()->IsMinuteModified()); // Mine.min itself still lacks "Room 7"
}

TEST_F(TemplatesTest, ReplacingAskedForAndRefusedNamesAreKeptOpen)
{
    Install({QStringLiteral("Board.min"), QStringLiteral("Weekly.min")});
    Start();
    // Selecting an entry copies its name; No to the question keeps the dialog open.
    int round = 0;
    dialogs[QStringLiteral("152")] = [&round](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("1012"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"));
        list->setCurrentItem(list->findItems(QStringLiteral("Weekly.min"), Qt::MatchExactly).first());
        EXPECT_EQ(name->text(), QStringLiteral("Weekly.min"));
        EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("3"))->isEnabled());
        ok->click(); // answered No
        EXPECT_EQ(dialog.result(), 0);
        name->setText(QStringLiteral("sub/escape"));
        ok->click();
        EXPECT_EQ(dialog.result(), 0);
        name->setText(QStringLiteral(".hidden"));
        ok->click();
        EXPECT_EQ(dialog.result(), 0);
        ++round;
        return IDCANCEL;
    };
    ui.answers.push_back(IDNO);
    Send(cmd::SaveAsTemplate);
    EXPECT_EQ(round, 1);
    EXPECT_EQ(ui.messageTexts(), (QStringList{QStringLiteral("Replace template Weekly.min ? "),
                                              QStringLiteral("A template name cannot contain '\\' or '/'."),
                                              QStringLiteral("Please type a name for the template.")}));
    EXPECT_EQ(TemplateFiles(), (QStringList{QStringLiteral("Board.min"), QStringLiteral("Weekly.min")}));
    EXPECT_FALSE(QFile::exists(TemplatesFolder() + QStringLiteral("/sub/escape.min")));

    // An empty name saves nothing.
    AnswerSaveAsTemplate(QString(), QString());
    Send(cmd::SaveAsTemplate);
    EXPECT_EQ(TemplateFiles().size(), 2);
}

TEST_F(TemplatesTest, DeletingTheLastTemplateEndsSaveAsTemplate)
{
    Install({QStringLiteral("Weekly.min")});
    Start();
    dialogs[QStringLiteral("152")] = [this](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
        list->setCurrentItem(list->item(0));
        ui.answers.push_back(IDYES);
        dialog.findChild<QPushButton*>(QStringLiteral("3"))->click();
        EXPECT_EQ(list->count(), 0);
        EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("3"))->isEnabled());
        return IDCANCEL;
    };
    panel.state.panelOn = false;
    Send(cmd::SaveAsTemplate);
    EXPECT_EQ(ui.messages.front().text, QStringLiteral("Delete template Weekly.min ? "));
    EXPECT_TRUE(TemplateFiles().isEmpty());
    EXPECT_FALSE(panel.state.panelOn); // put back after the dialog raised it

    ui.modalDialogs.clear();
    Send(cmd::SaveAsTemplate);
    EXPECT_TRUE(ui.modalDialogs.isEmpty());
}

// A template is never the minute made from it: not reopened as a named
// minute (as an earlier version remembered it), and "Template" with no entry
// picked makes a blank minute.
TEST_F(TemplatesTest, ATemplateIsNeverTakenForTheMinute)
{
    Install({QStringLiteral("Weekly.min")});
    SetOption("AutoOpenLastMinute", 1);
    Registry registry(DevicePath(QStringLiteral("registry.reg")));
    const QString section = QStringLiteral("software\\Corvexa\\Quillon\\LastMinute");
    registry.createKey(RegistryHive::CurrentUser, section);
    registry.setValue(RegistryHive::CurrentUser, section, QStringLiteral("FilePath"),
                      RegistryValue::fromString(QStringLiteral("\\Program Files\\Quillon\\Templates\\Weekly.min")));
    Start();
    EXPECT_EQ(Outline(), "Untitled");

    dialogs[QStringLiteral("146")] = [](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
        dialog.findChild<QRadioButton*>(QStringLiteral("1011"))->setChecked(true);
        list->clearSelection();
        list->setCurrentItem(nullptr);
        dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
        return dialog.result() == IDOK ? IDOK : IDCANCEL;
    };
    Send(cmd::New);
    EXPECT_EQ(Outline(), "Untitled");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(Doc()->IsMinuteModified());
}

// Only the files themselves are templates: a link in the templates folder is
// not offered, not written through and, put there after the list was made,
// not read.
TEST_F(TemplatesTest, ALinkInTheTemplatesFolderIsNoTemplate)
{
    Install({QStringLiteral("Board.min")});
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath(QStringLiteral("outside.min"));
    NodeList list;
    list.append(std::make_unique<CTreeNode>(QStringLiteral("Outside"), QString(), 1, 1));
    ASSERT_TRUE(WriteMinuteFile(outside, outside, list).ok());
    const QByteArray before = testsupport::readFile(outside);
    ASSERT_TRUE(QFile::link(outside, TemplatesFolder() + QStringLiteral("/Evil.min")));
    const QString path = WriteMinute(QStringLiteral("Mine.min"), {{1, QStringLiteral("Venue"), {}}});
    Start({path});

    QStringList listed;
    AnswerSaveAsTemplate(QString(), QStringLiteral("Evil"), &listed);
    ui.answers.push_back(IDYES); // were Evil.min taken for a template, it would be replaced
    ASSERT_TRUE(Send(cmd::SaveAsTemplate));
    EXPECT_EQ(listed, QStringList{QStringLiteral("Board.min")});
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Access to \\Program Files\\Quillon\\Templates\\Evil.min was denied.")});
    EXPECT_EQ(testsupport::readFile(outside), before);

    ui.messages.clear();
    ui.answers.clear();
    listed.clear();
    dialogs[QStringLiteral("146")] = [&](QDialog& dialog) {
        auto* names = dialog.findChild<QListWidget*>(QStringLiteral("1017"));
        for (int i = 0; i < names->count(); ++i)
            listed.append(names->item(i)->text());
        QFile::remove(TemplatesFolder() + QStringLiteral("/Board.min"));
        QFile::link(outside, TemplatesFolder() + QStringLiteral("/Board.min"));
        return IDOK;
    };
    Send(cmd::New);
    EXPECT_EQ(listed, QStringList{QStringLiteral("Board.min")});
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Access to \\Program Files\\Quillon\\Templates\\Board.min was denied.")});
    EXPECT_EQ(Outline(), "Untitled");
}
