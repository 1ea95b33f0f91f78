#include "framework/document.h"

#include "framework/view.h"
#include "platform/devicepaths.h"

Document::Document() = default;

Document::~Document()
{
    const QList<View*> views = m_views;
    for (View* view : views)
        view->SetDocument(nullptr);
}

void Document::AddView(View* view)
{
    if (!m_views.contains(view)) {
        m_views.append(view);
        view->SetDocument(this);
    }
}

void Document::RemoveView(View* view)
{
    if (m_views.removeOne(view))
        view->SetDocument(nullptr);
}

void Document::UpdateAllViews(View* sender, qintptr hint)
{
    // A copy: a view may add or remove views while it updates.
    const QList<View*> views = m_views;
    for (View* view : views) {
        if (view != sender)
            view->OnUpdate(sender, hint);
    }
}

void Document::SendInitialUpdate()
{
    const QList<View*> views = m_views;
    for (View* view : views)
        view->OnInitialUpdate();
}

void Document::SetPathName(const QString& path)
{
    m_strPathName = path;
    m_strTitle = fileNamePart(path);
}

bool Document::RouteCmdToOtherViews(View* active, int id, CmdUI* ui)
{
    const QList<View*> views = m_views;
    for (View* view : views) {
        if (view != active && view->OnCmdMsg(id, ui))
            return true;
    }
    return false;
}

bool Document::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool Document::OnOpenDocument(const QString&)
{
    return false;
}

bool Document::SaveModified()
{
    return true;
}

void Document::DeleteContents()
{
}
