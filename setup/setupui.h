#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

// The caption of Setup's first dialog and of its messages.
inline const QString kSetupCaption = QStringLiteral("Setup - Quillon for Pocket PCs");

// What Setup shows the user goes through here: its three dialogs and its
// closing messages. Setup keeps its own (small) seam, as it shares nothing
// with the editor but the platform stand-ins.
class SetupUi {
public:
    enum Icon { NoIcon, Information, Warning };

    virtual ~SetupUi() = default;
    virtual void MessageBox(const QString& text, const QString& caption, Icon icon, QWidget* owner) = 0;
    // Runs a dialog modally; QDialog::Accepted when confirmed.
    virtual int RunModal(QDialog& dialog) = 0;
};

class QtSetupUi final : public SetupUi {
public:
    void MessageBox(const QString& text, const QString& caption, Icon icon, QWidget* owner) override;
    int RunModal(QDialog& dialog) override;
};

// For tests: records the messages and hands each dialog to a handler.
class ScriptedSetupUi final : public SetupUi {
public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
        bool owned;
    };
    void MessageBox(const QString& text, const QString& caption, Icon icon, QWidget* owner) override;
    int RunModal(QDialog& dialog) override;

    std::function<int(QDialog&)> dialogHandler;
    std::vector<Shown> messages;
    std::vector<QString> dialogs; // object names of the dialogs run
};
