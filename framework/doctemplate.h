#pragma once

#include <QString>

class Document;

// The single-document flows: a new document and an opened one both refill
// the one document in place, after asking whether to save the current one.
class SingleDocTemplate {
public:
    explicit SingleDocTemplate(Document& document, const QString& defaultTitle = QStringLiteral("Untitled"));

    Document& GetDocument() const { return m_document; }

    // New document: the save-changes check, the default title, OnNewDocument,
    // then every view's initial update. False when the check stopped it or
    // the document could not be made.
    bool NewDocument();

    // Open document: the save-changes check, then OnOpenDocument. A file that
    // cannot be opened at all leaves the document as it was (modified flag
    // included); one that fails while being read has emptied the document,
    // which then becomes a new untitled document. On success the path name
    // and title are set and the views get their initial update.
    bool OpenDocumentFile(const QString& path);

private:
    Document& m_document;
    QString m_defaultTitle;
};
