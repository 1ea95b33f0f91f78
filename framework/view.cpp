#include "framework/view.h"

#include "framework/document.h"

View::~View()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void View::SetDocument(Document* document)
{
    if (m_pDocument == document)
        return;
    Document* old = m_pDocument;
    m_pDocument = document;
    if (old)
        old->RemoveView(this);
    if (document)
        document->AddView(this);
}

void View::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void View::OnUpdate(View*, qintptr)
{
}

bool View::OnCmdMsg(int id, CmdUI* ui)
{
    if (CommandTarget::OnCmdMsg(id, ui))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, ui);
}
