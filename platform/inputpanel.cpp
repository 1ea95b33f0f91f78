#include "platform/inputpanel.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QScreen>

DesktopInputPanel::DesktopInputPanel(QObject* parent)
    : InputPanel(parent)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QInputMethod* method = QGuiApplication::inputMethod();
    connect(method, &QInputMethod::visibleChanged, this, &InputPanel::changed);
    connect(method, &QInputMethod::keyboardRectangleChanged, this, &InputPanel::changed);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::availableGeometryChanged, this, &InputPanel::changed);
}

std::optional<InputPanelInfo> DesktopInputPanel::query() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const QInputMethod* method = QGuiApplication::inputMethod();
    InputPanelInfo info;
    info.panelOn = method->isVisible();
    info.visibleDesktop = screen->availableGeometry();
    if (info.panelOn) {
        const QRectF keyboard = method->keyboardRectangle();
        if (keyboard.isValid() && keyboard.top() > info.visibleDesktop.top())
            info.visibleDesktop.setBottom(std::min(info.visibleDesktop.bottom(), int(keyboard.top()) - 1));
    }
    return info;
}

bool DesktopInputPanel::apply(const InputPanelInfo& info)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    QInputMethod* method = QGuiApplication::inputMethod();
    if (info.panelOn != method->isVisible())
        method->setVisible(info.panelOn);
    return true;
}

std::optional<InputPanelInfo> TestInputPanel::query() const
{
    if (queryFails)
        return std::nullopt;
    return state;
}

bool TestInputPanel::apply(const InputPanelInfo& info)
{
    ++applyCount;
    lastApplied = info;
    if (applyFails)
        return false;
    const bool differs = !(state == info);
    state = info;
    if (differs)
        emit changed();
    return true;
}

void TestInputPanel::setState(const InputPanelInfo& info)
{
    state = info;
    emit changed();
}
