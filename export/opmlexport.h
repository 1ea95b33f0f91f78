#pragma once

#include "model/nodelist.h"
#include "platform/fileerror.h"

#include <QString>

#include <optional>

class ByteSink;

// Writes the minute as an OPML 2.0 outline: UTF-8 without a byte-order mark,
// LF line ends. The head carries the document title; each node is an
// <outline> whose "text" attribute is its title and whose "_note" attribute
// (left out when empty) is its text, nested as the levels nest. No numbers
// are added, so that an outline read back is the minute it was.
//
// Titles and texts come back from any XML reader exactly, line breaks
// included (TAB, LF and CR are character references, which attribute value
// normalisation leaves alone), with these exceptions:
// - characters XML 1.0 cannot carry at all (U+0000 to U+001F other than TAB,
//   LF and CR; half a surrogate pair on its own; U+FFFE and U+FFFF) are
//   written as U+FFFD;
// - a level that jumps by more than one, as only damaged files have, nests
//   one step below the item before it; levels below 1 are written as level 1.
class OpmlExport {
public:
    explicit OpmlExport(const NodeList& nodes);

    // Writes to a file beside hostPath that replaces it only when complete;
    // errors name displayPath.
    std::optional<FileError> RenderToFile(const QString& hostPath, const QString& displayPath, const QString& title) const;
    // Writes the whole document to sink; throws FileException.
    void RenderTo(ByteSink& sink, const QString& title) const;

private:
    const NodeList& m_nodes;
};
