#include "framework/doctemplate.h"

#include "framework/document.h"

SingleDocTemplate::SingleDocTemplate(Document& document, const QString& defaultTitle)
    : m_document(document)
    , m_defaultTitle(defaultTitle)
{
    m_document.SetDocTemplate(this);
}

bool SingleDocTemplate::NewDocument()
{
    if (!m_document.SaveModified())
        return false;
    m_document.SetTitle(m_defaultTitle);
    if (!m_document.OnNewDocument())
        return false;
    m_document.SendInitialUpdate();
    return true;
}

bool SingleDocTemplate::OpenDocumentFile(const QString& path)
{
    if (!m_document.SaveModified())
        return false;
    const bool wasModified = m_document.IsModified();
    // The document marks itself modified once it has started replacing its
    // contents; that tells a file that never opened from one that failed part-way.
    m_document.SetModifiedFlag(false);
    if (!m_document.OnOpenDocument(path)) {
        if (!m_document.IsModified()) {
            m_document.SetModifiedFlag(wasModified);
        } else {
            m_document.SetTitle(m_defaultTitle);
            if (m_document.OnNewDocument())
                m_document.SendInitialUpdate();
        }
        return false;
    }
    m_document.SetPathName(path);
    m_document.SendInitialUpdate();
    return true;
}
