#pragma once

class DevicePaths;
class InputPanel;
class Registry;
class SettingsProfile;
class Shell;
class UiService;

// The services the application builds once and hands to the editor's views
// and dialogs.
struct EditorServices {
    UiService& ui;
    InputPanel& inputPanel;
    SettingsProfile& profile;
    Registry& registry;
    const DevicePaths& device;
    Shell& shell;
};
