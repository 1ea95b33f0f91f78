#pragma once

class InputPanel;

// Whether the on-screen keyboard is on; false also when the shell cannot tell.
bool IsInputPanelShowing(const InputPanel& panel);
// Turns the keyboard on or off; false when the shell cannot tell its state.
bool ShowInputPanel(InputPanel& panel, bool on);
