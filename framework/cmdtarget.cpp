#include "framework/cmdtarget.h"

bool CommandTarget::OnCmdMsg(int id, CmdUI* ui)
{
    const auto found = m_commands.find(id);
    if (found == m_commands.end())
        return false;
    if (ui) {
        if (found->second.update)
            found->second.update(*ui);
        else
            ui->Enable(true);
        return true;
    }
    if (found->second.handler)
        found->second.handler();
    return true;
}

void CommandTarget::OnCommand(int id, std::function<void()> handler, std::function<void(CmdUI&)> update)
{
    m_commands[id] = Entry{std::move(handler), std::move(update)};
}
