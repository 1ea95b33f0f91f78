#pragma once

#include "framework/cmdtarget.h"

#include <QtGlobal>

class Document;

// A view of a document. Commands a view does not handle go on to its document.
class View : public CommandTarget {
public:
    ~View() override;

    Document* GetDocument() const { return m_pDocument; }
    // Attaches the view to a document (or detaches it with nullptr).
    void SetDocument(Document* document);

    virtual void OnInitialUpdate();
    virtual void OnUpdate(View* sender, qintptr hint);

    bool OnCmdMsg(int id, CmdUI* ui) override;

private:
    Document* m_pDocument = nullptr;
};
