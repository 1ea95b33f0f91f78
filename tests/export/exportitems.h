#pragma once

// Minutes for the export tests, written as a list of items.

#include "model/nodelist.h"

#include <QString>

#include <vector>

namespace exporttest {

struct Item {
    int level;
    QString title;
    QString text;
};

// Kinds as the editor sets them, so that an outline read back can match.
inline NodeList makeList(const std::vector<Item>& items)
{
    NodeList list;
    for (size_t i = 0; i < items.size(); ++i) {
        const bool parent = i + 1 < items.size() && items[i + 1].level > items[i].level;
        list.append(std::make_unique<CTreeNode>(items[i].title, items[i].text, items[i].level,
                                                parent ? CTreeNode::kHasSubItems : CTreeNode::kLeaf));
    }
    return list;
}

} // namespace exporttest
