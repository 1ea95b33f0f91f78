#include "platform/inputpanel.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(TestInputPanel, ApplyingAChangeAnnouncesIt)
{
    TestInputPanel panel;
    QSignalSpy spy(&panel, &InputPanel::changed);
    InputPanelInfo info{true, QRect(0, 26, 240, 190)};
    EXPECT_TRUE(panel.apply(info));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(panel.query(), info);
    EXPECT_TRUE(panel.apply(info)); // unchanged: handed back, nothing to announce
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(panel.applyCount, 2);

    panel.queryFails = true;
    EXPECT_FALSE(panel.query().has_value());
}

TEST(DesktopInputPanel, VisibleDesktopIsTheScreensAvailableArea)
{
    DesktopInputPanel panel;
    const auto info = panel.query();
    ASSERT_TRUE(info.has_value());
    EXPECT_FALSE(info->panelOn); // no keyboard on the offscreen platform
    EXPECT_EQ(info->visibleDesktop, QGuiApplication::primaryScreen()->availableGeometry());
}
