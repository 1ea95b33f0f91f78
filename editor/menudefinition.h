#pragma once

#include <QString>

#include <vector>

// One entry of a menu: a command, a separator, or a submenu.
struct MenuItem {
    enum Kind { Command, Separator, Submenu };

    Kind kind = Command;
    QString text;
    int id = 0;
    std::vector<MenuItem> items; // of a submenu

    static MenuItem command(const QString& text, int id) { return {Command, text, id, {}}; }
    static MenuItem separator() { return {Separator, {}, 0, {}}; }
    static MenuItem submenu(const QString& text, std::vector<MenuItem> items) { return {Submenu, text, 0, std::move(items)}; }
};

// The five popups of the main menu: File, Edit, tools, edit, view mode.
std::vector<MenuItem> MainMenuPopups();
