#pragma once

#include "model/nodelist.h"

class CDetailView;
class CMinuteView;
class CQuillonDoc;

// The minute as the user sees it, the text still being typed in the lower
// pane included, copied so that it can be written on another thread. The
// pane is left alone: storing its text would reset its caret and undo.
NodeList TakeMinuteSnapshot(const CQuillonDoc& doc, const CMinuteView* tree, const CDetailView* textPane);
