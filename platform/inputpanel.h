#pragma once

#include <QObject>
#include <QRect>

#include <optional>

// What the shell tells about the on-screen keyboard: whether it is on, and the
// part of the desktop that it leaves visible.
struct InputPanelInfo {
    bool panelOn = false;
    QRect visibleDesktop;

    friend bool operator==(const InputPanelInfo&, const InputPanelInfo&) = default;
};

// The shell's input-panel service: query the state, hand a changed state back,
// and hear when it changes.
class InputPanel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Nothing when the shell cannot tell.
    virtual std::optional<InputPanelInfo> query() const = 0;
    // Hands the information back; the shell shows or hides the panel to match.
    virtual bool apply(const InputPanelInfo& info) = 0;

signals:
    void changed();
};

// The desktop: the panel is Qt's input method, the visible desktop the
// primary screen's available area less the keyboard's rectangle.
class DesktopInputPanel final : public InputPanel {
    Q_OBJECT
public:
    explicit DesktopInputPanel(QObject* parent = nullptr);
    std::optional<InputPanelInfo> query() const override;
    bool apply(const InputPanelInfo& info) override;
};

// A plain settable state for tests, recording what was handed back.
class TestInputPanel final : public InputPanel {
    Q_OBJECT
public:
    using InputPanel::InputPanel;

    std::optional<InputPanelInfo> query() const override;
    bool apply(const InputPanelInfo& info) override;

    // Sets the state as the shell would and announces the change.
    void setState(const InputPanelInfo& info);

    InputPanelInfo state;
    bool queryFails = false;
    bool applyFails = false;
    int applyCount = 0;
    std::optional<InputPanelInfo> lastApplied;
};
