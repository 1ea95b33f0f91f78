#pragma once

#include <QIcon>

// The pictures of the agenda tree and the menu bar, by the index the editor
// knows them by.
namespace TreeImages {

enum Image {
    Minute = 0,     // the root item
    Heading = 1,    // an item with sub-items
    Item = 2,       // an item without sub-items
    HeadingCut = 3, // image 1 greyed, while marked for cut
    ItemCut = 4,    // image 2 greyed
};

// The icon an item shows: the normal image, and the selected image while selected.
QIcon Icon(int normal, int selected);

} // namespace TreeImages

namespace BarImages {

enum Image { Edit = 0, InsertItem = 1, InsertSubItem = 2, FindNext = 3, ReplaceNext = 4, ViewModes = 5, Tools = 6 };
QIcon Icon(int image);

} // namespace BarImages

QIcon ApplicationIcon();
