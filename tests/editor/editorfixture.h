#pragma once

#include "app/quillonapp.h"
#include "editor/detailview.h"
#include "editor/mainframe.h"
#include "editor/minuteview.h"
#include "framework/scripteduiservice.h"
#include "model/quillondoc.h"
#include "platform/devicepaths.h"
#include "platform/inputpanel.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "testsupport.h"

#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>

// A shell that records what it was asked to start.
class RecordingShell : public Shell {
public:
    using Shell::Shell;
    struct Started {
        QString verb, file, parameters, directory;
        int show;
    };
    bool Execute(const QString& verb, const QString& file, const QString& parameters, const QString& directory,
                 int show) override
    {
        started.push_back({verb, file, parameters, directory, show});
        return succeeds;
    }
    std::vector<Started> started;
    bool succeeds = true;
};

// The whole editor on a fresh device folder, driven by command id through
// the scripted UI service.
class EditorTest : public ::testing::Test {
public:
    // A node of a minute file: level, title, text.
    struct Node {
        int level;
        QString title;
        QString text;
    };

protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the application with a command line (the program name is added).
    void Start(const QStringList& arguments = {});
    // Settings the application finds when it starts.
    void SetOption(const char* name, int value);
    QString DevicePath(const QString& relative) const { return dir.filePath(QStringLiteral("device/") + relative); }

    // A minute file of these nodes; returns its path.
    QString WriteMinute(const QString& name, const std::vector<Node>& nodes);
    // The nodes a minute file holds; empty when it cannot be read.
    static NodeList ReadBack(const QString& path);

    CMainFrame* Frame() const { return app->MainFrame(); }
    CMinuteView* Tree() const { return app->MainFrame()->TreeView(); }
    CDetailView* Text() const { return app->MainFrame()->TextView(); }
    CQuillonDoc* Doc() const { return app->Document(); }
    bool Send(int id) { return Frame()->SendCommand(id); }

    // Answers the catalogue with a category (or Cancel for an empty name),
    // and the title dialog with a name.
    void PickCategory(const QString& name, const QString& blankTitle = QString());
    // Selects the item at a node index as a tap does.
    void Select(int index);
    QTreeWidgetItem* ItemAt(int index) const { return Tree()->ItemAt(index); }

    // Real input: the window shown and active, so that focus and shortcuts work.
    void ShowFrame();
    // The centre of an item's row in the tree's viewport, scrolled into view.
    QPoint CentreOf(int index) const;
    void Click(int index, Qt::MouseButton button = Qt::LeftButton);
    // Presses at from, moves to to with the button held, and releases there.
    void Drag(const QPoint& from, const QPoint& to);
    // Menus on screen now.
    static QList<QMenu*> OpenMenus();

    // The node list as "Title/level/kind" entries, and the tree as labels
    // with their sub-items in brackets: "Untitled[A[B] C]".
    std::string Nodes() const;
    std::string Outline() const;
    static std::string Outline(const QTreeWidgetItem* item);

    // Dialogs by template number, answered by these handlers.
    std::map<QString, std::function<int(QDialog&)>> dialogs;

    QTemporaryDir dir;
    ScriptedUiService ui;
    TestInputPanel panel;
    Registry shellRegistry{dir.filePath(QStringLiteral("device/registry.reg"))};
    DevicePaths shellDevice{dir.filePath(QStringLiteral("device"))};
    RecordingShell shell{shellRegistry, shellDevice};
    std::unique_ptr<CQuillonApp> app;
};
