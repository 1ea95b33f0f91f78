#pragma once

#include "model/nodelist.h"

#include <QByteArray>
#include <QString>

// Reads an OPML outline as a minute. Each <outline> in the body is an agenda
// item: its level is the depth it is nested at (the body's own outlines are
// level 1), its title the "text" attribute, its text the "_note" attribute or,
// without one, "note". Other attributes are ignored, and so are other
// elements with everything inside them. Titles and texts are kept exactly as
// the XML reader gives them, except for characters XML cannot carry, which the
// decoder of another encoding may still let through: they become U+FFFD, as
// the export writes them. A body without outlines is an empty minute, as a new
// one is.
class OpmlImport {
public:
    struct Result {
        enum Status {
            Ok,
            FileFailed, // the file could not be read
            NotOpml,    // it was read, but holds no OPML outline
        };
        Status status = Ok;
        QString message; // for the user; empty when ok

        bool ok() const { return status == Ok; }
    };

    // Replaces the nodes of into with those of the outline; on failure into is
    // left as it was. Messages name displayPath.
    static Result ReadFile(const QString& hostPath, const QString& displayPath, NodeList& into);
    static Result Read(const QByteArray& bytes, const QString& displayPath, NodeList& into);
};
