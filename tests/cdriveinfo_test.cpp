#include "cdriveinfo.h"
#include "fakes.h"
#include "layout.h"

#include <gtest/gtest.h>

namespace tarvino::testing {
namespace {

std::unique_ptr<SystemInfo> sysInfo(CallLog& log) {
    return std::make_unique<FakeSysInfo>(std::map<int, double>{{10, 2}, {11, 10}, {12, 19045}},
                                         log);
}

class FakeForm : public Form {
public:
    FakeWindow text;
    int unloads = 0;
    void setText(Control c, std::string_view t) override { text.setText(c, t); }
    void unload() override { ++unloads; }
};

TEST(CDriveInfo, StartsWithEveryWindowVariableEmpty) {
    FakeForm form;
    FakeDriveFactory drives;
    CDriveInfo window(form, drives, sysInfo(drives.log), ".");
    EXPECT_FALSE(window.finalStatus.has_value());
    EXPECT_FALSE(window.xs.has_value());
    EXPECT_FALSE(window.xe.has_value());
    EXPECT_TRUE(form.text.texts.empty());
}

TEST(CDriveInfo, FormLoadDescribesDriveCFromALowerCaseDrivePath) {
    FakeForm form;
    FakeDriveFactory drives;
    CDriveInfo window(form, drives, sysInfo(drives.log), ".");
    window.Form_Load();
    ASSERT_GE(drives.log.calls.size(), 10u);
    EXPECT_EQ(drives.log.calls[1], "GetAbsolutePathName(c:)");
    EXPECT_EQ(form.text.texts[Control::LabelDriveName], "Fixed C:");
    EXPECT_EQ(form.text.texts[Control::LabelOS], "OS. 2/10/19045");
    EXPECT_EQ(window.xs, 1);
    EXPECT_TRUE(window.finalStatus.has_value());
    // ShowFreeSpace takes "c:" as given, with its own service object.
    const std::vector<std::string> freeSpace(drives.log.calls.begin() + 7,
                                             drives.log.calls.begin() + 10);
    EXPECT_EQ(freeSpace, (std::vector<std::string>{"create", "GetDriveName(c:)", "GetDrive(c:)"}));
    EXPECT_EQ(drives.log.created, 4);
    EXPECT_EQ(drives.log.created, drives.log.released);
}

TEST(CDriveInfo, AFailedDriveSummaryMeansTheCapacityLinesAreNeverRead) {
    FakeForm form;
    FakeDriveFactory drives;
    drives.script.failAt = "serialnumber";
    CDriveInfo window(form, drives, sysInfo(drives.log), ".");
    EXPECT_THROW(window.Form_Load(), std::runtime_error);
    EXPECT_EQ(drives.log.calls.back(), "serialnumber");
    EXPECT_FALSE(form.text.has(Control::LabelTotalSize));
    EXPECT_FALSE(form.text.has(Control::LabelOS));
}

TEST(CDriveInfo, FormLoadPassesAFailureOnToItsCaller) {
    FakeForm form;
    FakeDriveFactory drives;
    drives.script.failAt = "GetDrive";
    CDriveInfo window(form, drives, sysInfo(drives.log), ".");
    EXPECT_THROW(window.Form_Load(), std::runtime_error);
    EXPECT_EQ(window.xs, 1);
    EXPECT_FALSE(form.text.has(Control::LabelDriveName));
}

TEST(CDriveInfo, AnyKeyUnloadsTheWindow) {
    const struct {
        int key;
        int shift;
    } keys[] = {{0x01000020, 0x02000000}, {0x01000021, 0x04000000}, {'A', 0}, {0, 0}};
    for (const auto& k : keys) {
        FakeForm form;
        FakeDriveFactory drives;
        CDriveInfo window(form, drives, sysInfo(drives.log), ".");
        window.Form_KeyDown(k.key, k.shift);
        EXPECT_EQ(form.unloads, 1);
    }
}

TEST(CDriveInfo, TicksMeasureTheBannerAfreshAndRestartWithEachDriveSummary) {
    FakeForm form;
    FakeDriveFactory drives;
    CDriveInfo window(form, drives, sysInfo(drives.log), ".");
    window.Form_Load();
    const std::string banner = *window.finalStatus;
    ASSERT_GT(banner.size(), 41u);

    window.xe = 0; // a stale length must not cut the text short
    window.Timer1_Timer();
    EXPECT_EQ(window.xe, static_cast<std::int32_t>(banner.size()));
    EXPECT_EQ(form.text.texts[Control::labelStatus], banner + banner.substr(0, 1));
    EXPECT_EQ(window.xs, 2);

    for (int i = 0; i < 4; ++i)
        window.Timer1_Timer(); // the fifth tick shows position 5
    EXPECT_EQ(form.text.texts[Control::labelStatus], banner.substr(4) + banner.substr(0, 5));
    EXPECT_EQ(window.xs, 6);

    window.ShowDriveInfo("c:");
    EXPECT_EQ(window.xs, 1);
    window.Timer1_Timer();
    EXPECT_EQ(form.text.texts[Control::labelStatus], banner + banner.substr(0, 1));
}

// Pixels at the common display densities: 100 %, 125 %, 150 % and 200 %.
TEST(Layout, TwipsBecomeWholePixelsAndTheValueRowsStillAbut) {
    struct Case {
        int dpi, clientWidth, clientHeight, valueWidth, valueHeight, statusTop;
    };
    for (const Case& c : {Case{96, 292, 116, 97, 16, 93}, Case{120, 365, 145, 121, 20, 116},
                          Case{144, 438, 174, 146, 24, 140}, Case{192, 584, 232, 194, 32, 186}}) {
        SCOPED_TRACE(c.dpi);
        const layout::Rect client = layout::pixels(layout::clientArea, c.dpi);
        EXPECT_EQ(client.width, c.clientWidth);
        EXPECT_EQ(client.height, c.clientHeight);
        for (int row = 0; row < 5; ++row) {
            const layout::Rect value = layout::pixels(layout::valueLabel(row), c.dpi);
            EXPECT_EQ(value.width, c.valueWidth);
            EXPECT_EQ(value.height, c.valueHeight);
            if (row < 4) {
                EXPECT_EQ(value.top + value.height,
                          layout::pixels(layout::valueLabel(row + 1), c.dpi).top);
            }
        }
        EXPECT_EQ(layout::pixels(layout::labelStatus, c.dpi).top, c.statusTop);
    }
}

} // namespace
} // namespace tarvino::testing
