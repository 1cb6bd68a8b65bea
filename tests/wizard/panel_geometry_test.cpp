// The wizard's page layouts and sizes at the design DPIs.
#include <gtest/gtest.h>

#include "wizard/panel_geometry.h"

namespace {

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected)
{
    if (EqualRect(&actual, &expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << actual.left << "," << actual.top << "," << actual.right << ","
                                         << actual.bottom << "} instead of {" << expected.left << "," << expected.top
                                         << "," << expected.right << "," << expected.bottom << "}";
}

struct SizeCase {
    int dpi;
    SIZE guide;        // the guide around the unfolded settings page
    int foldedHeight;  // the settings page folded
    unsigned logo;
};

TEST(PanelGeometry, GuideAndPanelSizesFollowTheDpiSteps)
{
    const SizeCase cases[] = {
        {96, {662, 446}, 446 - 86, 129},
        {120, {827, 557}, 557 - 107, 130},
        {144, {992, 669}, 669 - 129, 131},
        {192, {1324, 892}, 892 - 172, 132},  // two pixels of border a side
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.dpi);
        const PanelScale scale{c.dpi, c.dpi};
        const SIZE unfolded = SettingsPanelSize(scale, false);
        const SIZE guide = GuideWindowSize(scale, unfolded);
        EXPECT_EQ(guide.cx, c.guide.cx);
        EXPECT_EQ(guide.cy, c.guide.cy);
        EXPECT_EQ(SettingsPanelSize(scale, true).cy, c.foldedHeight);
        EXPECT_EQ(SettingsPanelSize(scale, true).cx, unfolded.cx);
        EXPECT_EQ(DefaultPanelSize(scale).cy, unfolded.cy);
        EXPECT_EQ(LogoFamilyForDpi(c.dpi), c.logo);
    }
    // DPIs between the steps take the lower family.
    EXPECT_EQ(LogoFamilyForDpi(110), 129u);
}

TEST(PanelGeometry, MeasuredTextsFallBackToTheirMinimum)
{
    EXPECT_EQ(MeasuredOrMinimum({0, 0}, 138, 16).cx, 138);
    EXPECT_EQ(MeasuredOrMinimum({0, 0}, 138, 16).cy, 16);
    EXPECT_EQ(MeasuredOrMinimum({70, 12}, 138, 16).cx, 70);  // a narrower text keeps its own width
    EXPECT_EQ(MeasuredOrMinimum({70, 12}, 138, 16).cy, 16);
    EXPECT_EQ(MeasuredOrMinimum({200, 40}, 138, 16).cy, 40);
}

struct SettingsCase {
    int dpi;
    RECT client;
    SettingsTexts texts;
    SettingsLayoutRects expected;
};

TEST(PanelGeometry, SettingsLayoutAt96And144Dpi)
{
    SettingsCase cases[2] = {};
    {
        SettingsCase& c = cases[0];
        c.dpi = 96;
        c.client = {0, 0, 660, 446};
        c.texts = {{70, 16}, {80, 16}, {120, 16}, {0, 0}, {100, 16}, {110, 16}};
        SettingsLayoutRects& e = c.expected;
        e.install = {180, 174, 480, 208};
        e.check = {245, 224, 261, 240};
        e.acceptLabel = {265, 223, 335, 239};
        e.licenceLink = {339, 223, 660, 239};
        e.chevron = {384, 305, 400, 321};
        e.toggleLabel = {0, 305, 380, 321};
        e.separator = {0, 333};
        e.languageLabel = {68, 351, 212, 381};
        e.languageCombo = {216, 351, 592, 381};
        e.associationLabel = {68, 361, 168, 391};
        e.associationCombo = {172, 361, 592, 391};
        e.folderEdit = {172, 361, 568, 391};
        e.browse = {568, 361, 592, 391};
        e.folderLabel = {58, 361, 168, 391};
    }
    {
        SettingsCase& c = cases[1];
        c.dpi = 144;
        c.client = {0, 0, 990, 669};
        c.texts = {{105, 24}, {120, 24}, {180, 24}, {216, 45}, {150, 24}, {165, 24}};
        SettingsLayoutRects& e = c.expected;
        e.install = {270, 261, 720, 312};
        e.check = {367, 336, 391, 360};
        e.acceptLabel = {397, 335, 502, 359};
        e.licenceLink = {508, 335, 990, 359};
        e.chevron = {576, 458, 600, 482};
        e.toggleLabel = {0, 458, 570, 482};
        e.separator = {0, 500};
        e.languageLabel = {102, 527, 318, 572};
        e.languageCombo = {324, 527, 888, 572};
        e.associationLabel = {102, 542, 252, 587};
        e.associationCombo = {258, 542, 888, 587};
        e.folderEdit = {258, 542, 852, 587};
        e.browse = {852, 542, 888, 587};
        e.folderLabel = {87, 542, 252, 587};
    }
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.dpi);
        const SettingsLayoutRects r = LayoutSettings(PanelScale{c.dpi, c.dpi}, c.client, c.texts);
        const SettingsLayoutRects& e = c.expected;
        EXPECT_TRUE(SameRect(r.install, e.install)) << "install";
        EXPECT_TRUE(SameRect(r.check, e.check)) << "check box";
        EXPECT_TRUE(SameRect(r.acceptLabel, e.acceptLabel)) << "accept label";
        EXPECT_TRUE(SameRect(r.licenceLink, e.licenceLink)) << "licence link";
        EXPECT_TRUE(SameRect(r.chevron, e.chevron)) << "chevron";
        EXPECT_TRUE(SameRect(r.toggleLabel, e.toggleLabel)) << "toggle";
        EXPECT_EQ(r.separator.x, e.separator.x);
        EXPECT_EQ(r.separator.y, e.separator.y);
        EXPECT_TRUE(SameRect(r.languageLabel, e.languageLabel)) << "language label";
        EXPECT_TRUE(SameRect(r.languageCombo, e.languageCombo)) << "language combo";
        EXPECT_TRUE(SameRect(r.associationLabel, e.associationLabel)) << "association label";
        EXPECT_TRUE(SameRect(r.associationCombo, e.associationCombo)) << "association combo";
        EXPECT_TRUE(SameRect(r.folderEdit, e.folderEdit)) << "folder edit";
        EXPECT_TRUE(SameRect(r.browse, e.browse)) << "browse";
        EXPECT_TRUE(SameRect(r.folderLabel, e.folderLabel)) << "folder label";
    }
}

TEST(PanelGeometry, AcceptLabelMovesUpTwoPixelsAt192Dpi)
{
    const SettingsLayoutRects r =
        LayoutSettings(PanelScale{192, 192}, {0, 0, 1320, 892}, {{140, 32}, {160, 32}, {240, 32}, {}, {}, {}});
    EXPECT_EQ(r.acceptLabel.top, r.check.top - 2);
}

TEST(PanelGeometry, StatusAndSuccessLayoutsAt96Dpi)
{
    const RECT client{0, 0, 660, 446};
    const StatusLayoutRects s = LayoutStatus(PanelScale{96, 96}, client);
    EXPECT_TRUE(SameRect(s.slideshow, {0, 36, 660, 320}));
    EXPECT_TRUE(SameRect(s.statusLabel, {30, 335, 530, 355}));
    EXPECT_TRUE(SameRect(s.timeLabel, {30, 355, 530, 375}));
    EXPECT_TRUE(SameRect(s.percentLabel, {530, 355, 630, 375}));
    EXPECT_TRUE(SameRect(s.progress, {30, 385, 630, 393}));

    const SuccessLayoutRects u = LayoutSuccess(PanelScale{96, 96}, client);
    EXPECT_TRUE(SameRect(u.startNow, {180, 240, 480, 274}));
    EXPECT_TRUE(SameRect(u.launchCheck, {30, 406, 50, 426}));
    EXPECT_TRUE(SameRect(u.launchLabel, {54, 406, 660, 426}));
}

TEST(PanelGeometry, StatusLayoutAt144Dpi)
{
    const StatusLayoutRects s = LayoutStatus(PanelScale{144, 144}, {0, 0, 990, 669});
    EXPECT_TRUE(SameRect(s.slideshow, {0, 54, 990, 480}));
    EXPECT_TRUE(SameRect(s.statusLabel, {45, 502, 795, 532}));
    EXPECT_TRUE(SameRect(s.percentLabel, {795, 532, 945, 562}));
    EXPECT_TRUE(SameRect(s.progress, {45, 577, 945, 589}));
}

TEST(PanelGeometry, TitleSitsHalfATextHeightBelowTheIcon)
{
    const RECT r = TitleRectBelowIcon({0, 0, 660, 446}, 48, 64, {200, 36});
    EXPECT_TRUE(SameRect(r, {230, 130, 430, 166}));
}

}  // namespace
