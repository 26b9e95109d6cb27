#include "cdriveinfo.h"
#include "fakes.h"

#include <gtest/gtest.h>

namespace tarvino::testing {
namespace {

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
    CDriveInfo window(form, drives);
    EXPECT_FALSE(window.finalStatus.has_value());
    EXPECT_FALSE(window.xs.has_value());
    EXPECT_FALSE(window.xe.has_value());
    EXPECT_TRUE(form.text.texts.empty());
}

TEST(CDriveInfo, FormLoadDescribesDriveCFromALowerCaseDrivePath) {
    FakeForm form;
    FakeDriveFactory drives;
    CDriveInfo window(form, drives);
    window.Form_Load();
    ASSERT_GE(drives.log.calls.size(), 2u);
    EXPECT_EQ(drives.log.calls[1], "GetAbsolutePathName(c:)");
    EXPECT_EQ(form.text.texts[Control::LabelDriveName], "Fixed C:");
    EXPECT_EQ(window.xs, 1);
    EXPECT_TRUE(window.finalStatus.has_value());
    EXPECT_EQ(drives.log.created, drives.log.released);
}

TEST(CDriveInfo, FormLoadPassesAFailureOnToItsCaller) {
    FakeForm form;
    FakeDriveFactory drives;
    drives.script.failAt = "GetDrive";
    CDriveInfo window(form, drives);
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
        CDriveInfo window(form, drives);
        window.Form_KeyDown(k.key, k.shift);
        EXPECT_EQ(form.unloads, 1);
    }
}

} // namespace
} // namespace tarvino::testing
