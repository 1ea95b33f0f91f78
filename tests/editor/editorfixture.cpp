#include "editorfixture.h"

#include "app/appglobals.h"
#include "catalogue/cataloguedialog.h"
#include "editor/titledialog.h"
#include "model/minutefile.h"
#include "platform/registry.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

void EditorTest::SetUp()
{
    g_bExiting = false;
    g_bDragging = false;
    QDir().mkpath(dir.filePath(QStringLiteral("device")));
    panel.state = {false, QRect(0, 0, 1024, 768)};
    ui.modalHandler = [this](QDialog& dialog) {
        const auto handler = dialogs.find(dialog.objectName());
        if (handler == dialogs.end()) {
            ui.unanswered.append(QStringLiteral("dialog ") + dialog.objectName());
            return IDCANCEL;
        }
        return handler->second(dialog);
    };
}

void EditorTest::TearDown()
{
    app.reset();
    g_bExiting = false;
    g_bDragging = false;
}

void EditorTest::Start(const QStringList& arguments)
{
    app = std::make_unique<CQuillonApp>(dir.filePath(QStringLiteral("device")), &ui, &panel, &shell);
    ASSERT_TRUE(app->InitInstance(QStringList{QStringLiteral("quillon")} + arguments));
}

void EditorTest::SetOption(const char* name, int value)
{
    Registry registry(dir.filePath(QStringLiteral("device/registry.reg")));
    const QString key = QStringLiteral("software\\Corvexa\\Quillon\\Options");
    registry.createKey(RegistryHive::CurrentUser, key);
    registry.setValue(RegistryHive::CurrentUser, key, QString::fromLatin1(name), RegistryValue::fromDword(quint32(value)));
}

QString EditorTest::WriteMinute(const QString& name, const std::vector<Node>& nodes)
{
    NodeList list;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const bool hasSubItems = i + 1 < nodes.size() && nodes[i + 1].level > nodes[i].level;
        list.append(std::make_unique<CTreeNode>(nodes[i].title, nodes[i].text, nodes[i].level,
                                                hasSubItems ? CTreeNode::kHasSubItems : CTreeNode::kLeaf));
    }
    const QString path = dir.filePath(name);
    EXPECT_TRUE(WriteMinuteFile(path, path, list).ok());
    return path;
}

void EditorTest::PickCategory(const QString& name, const QString& blankTitle)
{
    dialogs[QStringLiteral("147")] = [name](QDialog& dialog) {
        if (name.isEmpty())
            return IDCANCEL;
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("1024"));
        const QList<QTreeWidgetItem*> found = list->findItems(name, Qt::MatchExactly, 0);
        if (found.isEmpty())
            return IDCANCEL;
        list->setCurrentItem(found.first());
        dialog.findChild<QPushButton*>(name == QLatin1String("Blank") ? QStringLiteral("1021") : QStringLiteral("1020"))->click();
        return dialog.result();
    };
    dialogs[QStringLiteral("149")] = [blankTitle](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("1025"))->setText(blankTitle);
        return IDOK;
    };
}

void EditorTest::Select(int index)
{
    QTreeWidgetItem* item = ItemAt(index);
    ASSERT_NE(item, nullptr) << "no item at " << index;
    Tree()->setCurrentItem(item);
}

std::string EditorTest::Nodes() const
{
    std::string out;
    for (const auto& node : Doc()->GetNodeList()) {
        if (!out.empty())
            out += ' ';
        out += node->GetTitle().toStdString() + '/' + std::to_string(node->GetLevel()) + '/' + std::to_string(node->GetKind());
    }
    return out;
}

std::string EditorTest::Outline(const QTreeWidgetItem* item)
{
    std::string out = item->text(0).toStdString();
    if (item->childCount() > 0) {
        out += '[';
        for (int i = 0; i < item->childCount(); ++i) {
            if (i > 0)
                out += ' ';
            out += Outline(item->child(i));
        }
        out += ']';
    }
    return out;
}

std::string EditorTest::Outline() const
{
    return Tree()->RootItem() ? Outline(Tree()->RootItem()) : std::string();
}
