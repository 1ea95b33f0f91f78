// Contacts and dates reaching the minute: the commands and new items.

#include "editorfixture.h"

#include "contacts/contactsconnection.h"
#include "framework/commandids.h"
#include "platform/contactsstore.h"
#include "testsupport.h"

#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <utility>

namespace {

const char kCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:smith\r\nN:Smith;John;Q;Mr;Jr\r\nORG:Acme;Sales\r\nTITLE:Clerk\r\n"
    "TEL;TYPE=WORK,VOICE:555 0100\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:adams\r\nN:Adams;Ann;;;\r\nTEL;TYPE=WORK:555 0111\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:blank\r\nNOTE:nothing to list\r\nEND:VCARD\r\n";

class ContactsTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        QDir().mkpath(DevicePath(QStringLiteral("Contacts")));
        testsupport::writeFile(DevicePath(QStringLiteral("Contacts/people.vcf")), kCards);
        SetOption("RequiredContactProps", (1 << 0) | (1 << 1) | (1 << 11));
    }

    // Ticks the contacts whose listed text starts with one of these and presses OK.
    void Tick(const QStringList& names, QStringList* listed = nullptr)
    {
        dialogs[QStringLiteral("151")] = [=](QDialog& dialog) {
            auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("1008"));
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = list->topLevelItem(i);
                if (listed)
                    listed->append(item->text(0));
                for (const QString& name : names) {
                    if (item->text(0).startsWith(name))
                        item->setCheckState(0, Qt::Checked);
                }
            }
            if (names.isEmpty())
                return IDCANCEL;
            dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
            return dialog.result();
        };
    }
};

} // namespace

TEST_F(ContactsTest, TheStoreIsConnectedAtStartAndTheListIsSorted)
{
    Start();
    EXPECT_TRUE(g_bContactsAvailable);
    QStringList listed;
    Tick({}, &listed);
    ASSERT_TRUE(Send(cmd::ContactsShow));
    // Sorted, and the contact with none of the listed properties left out.
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Adams, Ann"), QStringLiteral("Smith, John Q Mr Jr, Acme, Clerk, Sales")}));
    EXPECT_TRUE(Doc()->GetNodeList().isEmpty());
}

TEST_F(ContactsTest, NamesAreListedAsPeopleReadThem)
{
    testsupport::writeFile(DevicePath(QStringLiteral("Contacts/more.vcf")),
                           "BEGIN:VCARD\r\nN:Zeller;Ida;;;\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:de Vries;Maria;;;\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nN:\xC3\x96zt\xC3\xBCrk;Ayla;;;\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:adams;Bo;;;\r\nEND:VCARD\r\n");
    Start();
    QStringList listed;
    Tick({}, &listed);
    ASSERT_TRUE(Send(cmd::ContactsShow));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Adams, Ann"), QStringLiteral("adams, Bo"), QStringLiteral("de Vries, Maria"),
                                   QString::fromUtf8("\xC3\x96zt\xC3\xBCrk, Ayla"),
                                   QStringLiteral("Smith, John Q Mr Jr, Acme, Clerk, Sales"), QStringLiteral("Zeller, Ida")}));
}

TEST_F(ContactsTest, AddressBooksChangedWhileRunningAreReadForTheNextDialog)
{
    Start();
    QStringList listed;
    Tick({}, &listed);
    ASSERT_TRUE(Send(cmd::ContactsShow));
    EXPECT_EQ(listed.size(), 2);

    testsupport::writeFile(DevicePath(QStringLiteral("Contacts/people.vcf")),
                           "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ada Lark\r\nEND:VCARD\r\n");
    testsupport::writeFile(DevicePath(QStringLiteral("Contacts/new.vcf")), "BEGIN:VCARD\r\nN:Brook;Cal;;;\r\nEND:VCARD\r\n");
    listed.clear();
    ASSERT_TRUE(Send(cmd::ContactsShow));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Ada Lark"), QStringLiteral("Brook, Cal")}));
}

TEST_F(ContactsTest, SpecifyInsertsTheLinesAtTheCaretOrOverTheSelection)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Notes"), QStringLiteral("before after")}})});
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(7);
    Text()->setTextCursor(cursor);
    Tick({QStringLiteral("Smith"), QStringLiteral("Adams")});
    ASSERT_TRUE(Send(cmd::ContactsSpecify));
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("before Adams, Ann, Work Tel: 555 0111\nSmith, John, Work Tel: 555 0100\nafter"));
    // One step of the pane's undo takes the lines out again.
    Text()->undo();
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("before after"));
    Text()->redo();

    cursor = Text()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    Text()->setTextCursor(cursor);
    Tick({QStringLiteral("Adams")});
    Send(cmd::ContactsSpecify);
    EXPECT_TRUE(Text()->toPlainText().startsWith(QStringLiteral("Adams, Ann, Work Tel: 555 0111\n Adams")));

    // Cancelled: the text and its selection stay as they were.
    const QString before = Text()->toPlainText();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    Text()->setTextCursor(cursor);
    Tick({});
    Send(cmd::ContactsSpecify);
    dialogs[QStringLiteral("141")] = [](QDialog&) { return IDCANCEL; };
    Send(cmd::DatesSpecify);
    EXPECT_EQ(Text()->toPlainText(), before);
    EXPECT_EQ(Text()->textCursor().selectedText(), QStringLiteral("Adams"));

    // The root's pane is read-only: nothing may be put there.
    Select(0);
    EXPECT_FALSE(Send(cmd::ContactsSpecify));
    EXPECT_FALSE(Send(cmd::DatesSpecify));
}

TEST_F(ContactsTest, NewAttendeesAndAuthorItemsAreFilledButOnlyWithTheirExactTitle)
{
    Start();
    Tick({QStringLiteral("Smith")});
    PickCategory(QStringLiteral("Attendees"));
    ASSERT_TRUE(Send(cmd::InsertItem));
    Select(0);
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("Smith, John, Work Tel: 555 0100\r\n"));

    // A user's own "attendees" (other case) opens nothing.
    ui.modalDialogs.clear();
    PickCategory(QStringLiteral("Blank"), QStringLiteral("attendees"));
    Send(cmd::InsertItem);
    EXPECT_FALSE(ui.modalDialogs.contains(QStringLiteral("151")));
}

TEST_F(ContactsTest, DatesAreInsertedOrFillANewDateItem)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Notes"), QString()}})});
    dialogs[QStringLiteral("141")] = [](QDialog&) { return IDOK; };
    ASSERT_TRUE(Send(cmd::DatesSpecify));
    const QDate today = QDate::currentDate();
    const QString text = QStringLiteral("%1 %2, %3").arg(QLocale::c().monthName(today.month())).arg(today.day()).arg(today.year());
    EXPECT_EQ(Text()->toPlainText(), text);

    PickCategory(QStringLiteral("Date"));
    Send(cmd::InsertItem);
    EXPECT_EQ(Text()->toPlainText(), text);

    // "Calendar..." only shows the calendar.
    ui.modalDialogs.clear();
    Send(cmd::DatesCalendar);
    EXPECT_EQ(ui.modalDialogs, QStringList{QStringLiteral("141")});
    EXPECT_EQ(Text()->toPlainText(), text);
}

TEST_F(ContactsTest, TheFindBoxShowsTheFirstMatchWithoutTickingOrSelecting)
{
    // Enough people to scroll.
    QByteArray cards;
    for (int i = 0; i < 60; ++i)
        cards += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Person%1;Pat;;;\r\nEND:VCARD\r\n").arg(i, 2, 10, QLatin1Char('0')).toUtf8();
    testsupport::writeFile(DevicePath(QStringLiteral("Contacts/many.vcf")), cards);
    Start();
    bool shownBefore = true;
    bool shownAfter = false;
    bool unchanged = false;
    dialogs[QStringLiteral("151")] = [&](QDialog& dialog) {
        dialog.resize(300, 240);
        dialog.show();
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("1008"));
        auto* find = dialog.findChild<QLineEdit*>(QStringLiteral("1011"));
        QTreeWidgetItem* target = list->findItems(QStringLiteral("Person55"), Qt::MatchStartsWith).first();
        const auto visible = [&] { return list->viewport()->rect().intersects(list->visualItemRect(target)); };
        shownBefore = visible();
        find->setText(QStringLiteral("person55"));
        shownAfter = visible();
        QTreeWidgetItem* current = list->currentItem();
        find->setText(QStringLiteral("Nobody"));
        unchanged = list->currentItem() == current && target->checkState(0) == Qt::Unchecked && visible();
        dialog.hide();
        return IDCANCEL;
    };
    Send(cmd::ContactsShow);
    EXPECT_FALSE(shownBefore);
    EXPECT_TRUE(shownAfter);
    EXPECT_TRUE(unchanged); // a text no contact begins with changes nothing
}

TEST_F(ContactsTest, ThePickerOpenedDuringTheReadWaitsForItAndAfterItDoesNot)
{
    // Enough people that the read is still going when the picker opens.
    QByteArray cards;
    for (int i = 0; i < 4000; ++i)
        cards += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Crowd%1;Pat;;;\r\nEMAIL:p%1@example.com\r\nEND:VCARD\r\n").arg(i).toUtf8();
    testsupport::writeFile(DevicePath(QStringLiteral("Contacts/crowd.vcf")), cards);
    Start();
    const bool reading = g_pOutlookApp->NeedsRefresh();
    QStringList listed;
    Tick({}, &listed);
    ASSERT_TRUE(Send(cmd::ContactsShow));
    EXPECT_EQ(listed.size(), 4002);
    EXPECT_EQ(listed.first(), QStringLiteral("Adams, Ann"));
    // The wait cursor only while the read is waited for.
    EXPECT_EQ(ui.waitCursorCount, reading ? 1 : 0);
    EXPECT_EQ(ui.waitCursorDepth, 0);

    const QStringList first = std::exchange(listed, {});
    ASSERT_TRUE(Send(cmd::ContactsShow));
    EXPECT_EQ(listed, first);
    EXPECT_EQ(ui.waitCursorCount, reading ? 1 : 0);
}

TEST_F(ContactsTest, ABookRewrittenToTheSameSizeIsReadAgain)
{
    Start();
    QStringList listed;
    Tick({}, &listed);
    ASSERT_TRUE(Send(cmd::ContactsShow));
    ASSERT_EQ(listed.size(), 2);

    const QString path = DevicePath(QStringLiteral("Contacts/people.vcf"));
    QByteArray renamed = kCards;
    renamed.replace("N:Adams;Ann", "N:Adams;Amy");
    ASSERT_TRUE(testsupport::writeFile(path, renamed));
    // Later than the first read, however coarse the file system's clock.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(2), QFileDevice::FileModificationTime));
    file.close();
    listed.clear();
    ASSERT_TRUE(Send(cmd::ContactsShow));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Adams, Amy"), QStringLiteral("Smith, John Q Mr Jr, Acme, Clerk, Sales")}));
}
