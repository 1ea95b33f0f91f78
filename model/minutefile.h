#pragma once

#include "model/nodelist.h"
#include "platform/bytestream.h"
#include "platform/fileerror.h"

#include <QString>

// The outcome of reading or writing a minute, with the message the user sees.
struct MinuteFileResult {
    enum Status {
        Ok,
        FileFailed,  // the file itself: fileError tells the cause
        BadFormat,   // "Unexpected file format."
        OpenFailed,  // "Failed to open document."
        SaveFailed,  // "Failed to save document."
    };

    Status status = Ok;
    FileError fileError;

    bool ok() const { return status == Ok; }
    QString message() const;
};

// Reads a minute in two steps, so that a file that cannot be opened at all
// leaves the caller's minute as it was, while one that fails part-way has
// already replaced it.
class MinuteReader {
public:
    // displayPath is the path the user knows the file by; messages name it.
    MinuteFileResult Open(const QString& hostPath, const QString& displayPath, SymLinks links = SymLinks::Follow);
    // Appends the file's nodes to list. On failure list is left empty.
    MinuteFileResult ReadInto(NodeList& list);

private:
    FileSource m_file;
    QString m_displayPath;
};

// Reads the nodes of a minute held in source; on failure list is left empty.
MinuteFileResult ReadMinute(ByteSource& source, NodeList& list, const QString& displayPath = QString());
// Writes list as a minute; throws FileException or ArchiveException.
void WriteMinute(ByteSink& sink, const NodeList& list);

// Writes list to a new file beside hostPath that replaces it only when complete.
MinuteFileResult WriteMinuteFile(const QString& hostPath, const QString& displayPath, const NodeList& list,
                                 SymLinks links = SymLinks::Follow);
