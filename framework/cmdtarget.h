#pragma once

#include <functional>
#include <optional>
#include <unordered_map>

// The enable state of a menu entry or button while its command is routed for an update.
struct CmdUI {
    CmdUI(int commandId = 0)
        : id(commandId)
    {
    }

    int id = 0;
    bool enabled = true;
    // Set for a command that is a state shown as a tick (a view mode, a shown bar).
    std::optional<bool> checked;

    void Enable(bool on = true) { enabled = on; }
    void SetCheck(bool on = true) { checked = on; }
};

// Something that commands are routed to. A target either handles a command
// (ui is null) or says whether it is enabled (ui is set); either way it
// returns whether it knows the command.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual bool OnCmdMsg(int id, CmdUI* ui);

protected:
    // Registers what the target does for a command, and optionally when it is enabled.
    void OnCommand(int id, std::function<void()> handler, std::function<void(CmdUI&)> update = {});

private:
    struct Entry {
        std::function<void()> handler;
        std::function<void(CmdUI&)> update;
    };
    std::unordered_map<int, Entry> m_commands;
};
