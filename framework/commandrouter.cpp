#include "framework/commandrouter.h"

#include "framework/document.h"
#include "framework/view.h"

bool RouteCommand(View* activeView, CommandTarget* frame, CommandTarget* application, int id, CmdUI* ui)
{
    if (activeView && activeView->OnCmdMsg(id, ui))
        return true;
    if (frame && frame->OnCmdMsg(id, ui))
        return true;
    if (application && application->OnCmdMsg(id, ui))
        return true;
    if (activeView && activeView->GetDocument()
        && activeView->GetDocument()->RouteCmdToOtherViews(activeView, id, ui))
        return true;
    if (ui)
        ui->Enable(false);
    return false;
}
