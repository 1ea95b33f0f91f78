#include "app/inputpanelservice.h"
#include "platform/inputpanel.h"

#include <gtest/gtest.h>

TEST(InputPanelService, ShowingSetsOnlyThePanelFlag)
{
    TestInputPanel panel;
    panel.state = {false, QRect(0, 26, 240, 270)};
    EXPECT_FALSE(IsInputPanelShowing(panel));

    EXPECT_TRUE(ShowInputPanel(panel, true));
    EXPECT_TRUE(IsInputPanelShowing(panel));
    EXPECT_EQ(panel.lastApplied->visibleDesktop, QRect(0, 26, 240, 270));

    panel.applyFails = true;
    EXPECT_FALSE(ShowInputPanel(panel, false));
}

TEST(InputPanelService, HidingAHiddenPanelHandsTheSameInformationBack)
{
    TestInputPanel panel;
    panel.state = {false, QRect(0, 26, 240, 270)};
    EXPECT_TRUE(ShowInputPanel(panel, false));
    EXPECT_EQ(panel.applyCount, 1);
    EXPECT_EQ(panel.lastApplied, panel.state);
}

TEST(InputPanelService, AFailedQueryReadsAsHiddenAndChangesNothing)
{
    TestInputPanel panel;
    panel.state.panelOn = true;
    panel.queryFails = true;
    EXPECT_FALSE(IsInputPanelShowing(panel));
    EXPECT_FALSE(ShowInputPanel(panel, false));
    EXPECT_EQ(panel.applyCount, 0);
}
