#include "editorfixture.h"

#include "app/appglobals.h"
#include "catalogue/cataloguedialog.h"
#include "editor/titledialog.h"
#include "model/minutefile.h"
#include "platform/registry.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
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

NodeList EditorTest::ReadBack(const QString& path)
{
    MinuteReader reader;
    NodeList list;
    if (reader.Open(path, path).ok())
        reader.ReadInto(list);
    return list;
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

void EditorTest::ShowFrame()
{
    Frame()->show();
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
}

QPoint EditorTest::CentreOf(int index) const
{
    QTreeWidgetItem* item = ItemAt(index);
    if (!item)
        return {};
    Tree()->scrollToItem(item);
    return Tree()->visualItemRect(item).center();
}

void EditorTest::Click(int index, Qt::MouseButton button)
{
    QTest::mouseClick(Tree()->viewport(), button, {}, CentreOf(index));
}

void EditorTest::Drag(const QPoint& from, const QPoint& to)
{
    QWidget* viewport = Tree()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    // Through a point on the way, so that the drag is under way before the target.
    for (const QPoint& at : {(from + to) / 2, to}) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
}

QList<QMenu*> EditorTest::OpenMenus()
{
    QList<QMenu*> menus;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible())
            menus.append(menu);
    }
    return menus;
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
