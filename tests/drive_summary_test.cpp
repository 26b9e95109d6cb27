#include "drive_summary.h"
#include "fakes.h"

#include <gtest/gtest.h>

namespace tarvino::testing {
namespace {

struct Outcome {
    FakeDriveFactory services;
    FakeWindow window;
    std::optional<std::int16_t> xs = std::int16_t{17};
    std::optional<std::string> finalStatus;
    bool threw = false;

    explicit Outcome(DriveScript script, const std::string& path = "c:") {
        services.script = std::move(script);
        try {
            showDriveInfo(services, window, path, xs, finalStatus);
        } catch (const std::runtime_error&) {
            threw = true;
        }
    }
};

TEST(DriveLine, ShowsTheTypeWordBlankLetterAndColonForEveryCode) {
    const struct {
        std::int32_t code;
        const char* line;
    } cases[] = {
        {0, "Unknown C:"}, {1, "Removable C:"}, {2, "Fixed C:"}, {3, "Network C:"},
        {4, "CD-ROM C:"},  {5, "RAM Disk C:"},  {6, " C:"},      {-1, " C:"},
    };
    for (const auto& c : cases) {
        Outcome o(DriveScript{.type = c.code});
        ASSERT_FALSE(o.threw);
        EXPECT_EQ(o.window.texts[Control::LabelDriveName], c.line) << "code " << c.code;
    }
}

TEST(SerialLine, ShowsTheSerialAsUnsignedDecimal) {
    const struct {
        std::uint32_t serial;
        const char* line;
    } cases[] = {
        {0u, "SN. 0"},
        {1234567890u, "SN. 1234567890"},
        {0x80000000u, "SN. 2147483648"}, // top bit set: still no minus sign
        {0xFFFFFFFFu, "SN. 4294967295"},
    };
    for (const auto& c : cases) {
        Outcome o(DriveScript{.serial = c.serial});
        EXPECT_EQ(o.window.texts[Control::LabelDriveSerialNumber], c.line);
    }
}

TEST(ShowDriveInfo, ResolvesThePathThroughTheServiceInOrderAndShowsTheReportedLetter) {
    Outcome o(DriveScript{.letter = "C"}, "c:");
    const std::vector<std::string> expected = {"create",
                                               "GetAbsolutePathName(c:)",
                                               "GetDriveName(C:\\work)",
                                               "GetDrive(C:)",
                                               "DriveType",
                                               "driveletter",
                                               "serialnumber"};
    EXPECT_EQ(o.services.log.calls, expected);
    EXPECT_EQ(o.window.texts[Control::LabelDriveName], "Fixed C:");
    EXPECT_EQ((std::vector<Control>{Control::LabelDriveName, Control::LabelDriveSerialNumber}),
              o.window.order);
}

TEST(ShowDriveInfo, SetsTheBannerAndRestartsTheTicker) {
    Outcome o(DriveScript{});
    ASSERT_TRUE(o.finalStatus.has_value());
    EXPECT_EQ(*o.finalStatus, bannerText());
    EXPECT_EQ(o.xs, 1);

    const std::string_view banner = bannerText();
    EXPECT_EQ(banner.substr(0, 23), std::string(23, ' '));
    EXPECT_NE(banner[23], ' ');
    EXPECT_EQ(banner.back(), ' ');
    EXPECT_NE(banner[banner.size() - 2], ' ');
    EXPECT_NE(banner.find("Orlenda"), std::string_view::npos);
    EXPECT_NE(banner.find("@example.com"), std::string_view::npos);
}

TEST(ShowDriveInfo, AFailureKeepsEarlierStepsAndSkipsLaterOnes) {
    const struct {
        const char* failAt;
        bool driveLine;
        bool serialLine;
    } cases[] = {
        {"create", false, false},       {"GetAbsolutePathName", false, false},
        {"GetDriveName", false, false}, {"GetDrive", false, false},
        {"DriveType", false, false},    {"driveletter", false, false},
        {"serialnumber", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failAt);
        Outcome o(DriveScript{.failAt = c.failAt});
        EXPECT_TRUE(o.threw);
        EXPECT_EQ(o.xs, 1) << "xs is reset before anything can fail";
        EXPECT_EQ(o.window.has(Control::LabelDriveName), c.driveLine);
        EXPECT_EQ(o.window.has(Control::LabelDriveSerialNumber), c.serialLine);
        EXPECT_FALSE(o.finalStatus.has_value());
        EXPECT_EQ(o.services.log.created, o.services.log.released) << "everything is released";
    }
}

TEST(ShowDriveInfo, EachCallCreatesAndReleasesItsOwnServiceObject) {
    FakeDriveFactory services;
    FakeWindow window;
    std::optional<std::int16_t> xs;
    std::optional<std::string> finalStatus;
    for (int call = 1; call <= 3; ++call) {
        xs = std::int16_t{40};
        showDriveInfo(services, window, "c:", xs, finalStatus);
        EXPECT_EQ(xs, 1);
        // One service object and one drive object per call, all released.
        EXPECT_EQ(services.log.created, 2 * call);
        EXPECT_EQ(services.log.released, 2 * call);
    }
}

} // namespace
} // namespace tarvino::testing
