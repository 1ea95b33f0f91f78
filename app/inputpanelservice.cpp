#include "app/inputpanelservice.h"

#include "platform/inputpanel.h"

bool IsInputPanelShowing(const InputPanel& panel)
{
    const auto info = panel.query();
    return info && info->panelOn;
}

bool ShowInputPanel(InputPanel& panel, bool on)
{
    auto info = panel.query();
    if (!info)
        return false;
    info->panelOn = on;
    return panel.apply(*info);
}
