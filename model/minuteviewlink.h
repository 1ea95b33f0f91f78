#pragma once

#include "model/minutenodes.h"

// What the minute document needs from the agenda tree view, without knowing
// any widget: the level shift of a move, the save preparation (the text
// being typed goes into its node and the root label follows the path), and
// whether the view has had its first initial update.
class MinuteViewLink : public LevelShiftSource {
public:
    // Sent just before the minute is written.
    virtual void PrepareSave() = 0;
    // False until the end of the view's first initial update.
    virtual bool HadFirstUpdate() const = 0;
    // Closes the text pane's find and replace window, if one is open.
    virtual void CloseFindReplace() = 0;
};
