#include "editor/treeimages.h"

#include <QHash>

namespace {

QString TreeFile(int image)
{
    static const char* const kFiles[] = {"tree-minute", "tree-heading", "tree-item", "tree-heading-cut", "tree-item-cut"};
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kFiles[std::clamp(image, 0, 4)]));
}

} // namespace

QIcon TreeImages::Icon(int normal, int selected)
{
    static QHash<int, QIcon> cache;
    const int key = normal * 16 + selected;
    auto found = cache.find(key);
    if (found != cache.end())
        return *found;
    QIcon icon;
    icon.addFile(TreeFile(normal), QSize(), QIcon::Normal);
    // An item marked for cut shows greyed while it is selected too: that is the feedback for the cut.
    const bool cut = normal == TreeImages::HeadingCut || normal == TreeImages::ItemCut;
    icon.addFile(TreeFile(cut ? normal : selected), QSize(), QIcon::Selected);
    return *cache.insert(key, icon);
}

QIcon BarImages::Icon(int image)
{
    static const char* const kFiles[] = {"bar-edit", "bar-insert-item", "bar-insert-subitem", "bar-find-next",
                                         "bar-replace-next", "bar-view-modes", "bar-tools"};
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kFiles[std::clamp(image, 0, 6)])));
}

QIcon ApplicationIcon()
{
    return QIcon(QStringLiteral(":/icons/quillon.svg"));
}
