#pragma once

#include <QString>

#include <vector>

// One entry of a menu: a command, a separator, or a submenu.
struct MenuItem {
    enum Kind { Command, Separator, Submenu };

    Kind kind = Command;
    QString text;
    int id = 0; // a submenu's marks one that is filled as it opens
    std::vector<MenuItem> items; // of a submenu

    static MenuItem command(const QString& text, int id) { return {Command, text, id, {}}; }
    static MenuItem separator() { return {Separator, {}, 0, {}}; }
    static MenuItem submenu(const QString& text, std::vector<MenuItem> items, int id = 0)
    {
        return {Submenu, text, id, std::move(items)};
    }
};

// The five popups of the main menu: File, Edit, tools, edit, view mode.
std::vector<MenuItem> MainMenuPopups();

// The menu bar of a desktop window: the same commands with the same texts,
// grouped as desktop users look for them (File, Edit, View, Insert, Tools,
// Help), each text with its Alt letter.
std::vector<MenuItem> DesktopMenus();

// A text without its Alt letter mark, as the command bar shows it.
QString WithoutMnemonic(QString text);
