#pragma once

class CommandTarget;
class View;
struct CmdUI;

// Routes a command the way the main frame does: the active view (and through
// it its document), then the frame, then the application, and last the
// document's other views, so that commands of either pane work whichever pane
// has the focus. With ui set it asks for the enable state instead; a command
// that nobody knows is disabled. Returns whether someone knew the command.
bool RouteCommand(View* activeView, CommandTarget* frame, CommandTarget* application, int id, CmdUI* ui);
