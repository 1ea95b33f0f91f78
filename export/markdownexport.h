#pragma once

#include "model/nodelist.h"
#include "platform/fileerror.h"

#include <QString>

#include <optional>

class ByteSink;

// Writes the minute as CommonMark: UTF-8 without a byte-order mark, LF line
// ends. A "#" heading carries the document title; items of levels 1 to 5
// are headings "##" to "######", deeper items nested list entries with the
// title in bold, so that no level is lost. Each text follows its title as
// paragraphs, its line breaks as hard breaks.
//
// Every title and text is escaped so that a CommonMark reader gives back
// exactly its characters, with these exceptions that the format cannot carry:
// - a line break at the very end of a text (a hard break cannot end a
//   paragraph) is written as the character reference "&#10;": a reader gets
//   the line break back as a character, a renderer shows nothing for it;
// - line breaks inside a text come back as breaks, not as the CR LF, CR or LF
//   they were; a break inside a title is kept as a character reference;
// - U+0000 and half a surrogate pair on its own come back as U+FFFD;
// - a list item (level 6 or deeper) whose level jumps by more than one, as
//   only damaged files have, nests one step below the item before it; levels
//   below 1 are written as level 1.
class MarkdownExport {
public:
    explicit MarkdownExport(const NodeList& nodes);

    // The document title for a minute file: its name without folder and
    // extension, "Untitled" when there is none.
    static QString DocumentTitle(const QString& minutePath);

    // Writes to a file beside hostPath that replaces it only when complete;
    // errors name displayPath.
    std::optional<FileError> RenderToFile(const QString& hostPath, const QString& displayPath, const QString& title,
                                          bool numbered) const;
    // Writes the whole document to sink; throws FileException.
    void RenderTo(ByteSink& sink, const QString& title, bool numbered) const;

private:
    const NodeList& m_nodes;
};
