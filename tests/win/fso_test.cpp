// The late-bound file-system object and the system services, for real, under Wine.

#include "dispatch.h"
#include "drive_summary.h"
#include "fakes.h"
#include "fso_drive_service.h"
#include "win_system_info.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tarvino::win32 {
namespace {

class Fso : public ::testing::Test {
protected:
    ComApartment com;
    FsoDriveServiceFactory factory;
};

TEST_F(Fso, DescribesDriveC) {
    const auto fso = factory.create();
    const auto drive = fso->getDrive(fso->getDriveName(fso->getAbsolutePathName("c:")));
    EXPECT_EQ(drive->driveType(), 2);
    EXPECT_EQ(drive->driveLetter(), "C");
    EXPECT_FALSE(drive->fileSystem().empty());
    EXPECT_GT(drive->totalSize(), 0u);
}

TEST_F(Fso, FailsOnAMissingDriveNamingIt) {
    const auto fso = factory.create();
    for (const char* name : {"q:", ""}) {
        try {
            fso->getDrive(name);
            ADD_FAILURE() << "no failure for " << name;
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("GetDrive(\"" + std::string(name) + "\")"), std::string::npos)
                << what;
            EXPECT_NE(what.find("0x8"), std::string::npos) << what;
        }
    }
}

TEST_F(Fso, ResolvesTheWorkingDirectorysDrive) {
    const auto fso = factory.create();
    wchar_t cwd[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, cwd), 2u);
    const std::string here = fso->getAbsolutePathName(".");
    ASSERT_GE(here.size(), 2u);
    EXPECT_EQ(here[0], static_cast<char>(cwd[0]));
    EXPECT_EQ(fso->getDriveName(here), here.substr(0, 2));
    EXPECT_EQ(fso->getDriveName("docs\\x"), "");
}

TEST_F(Fso, TheDriveSummaryShowsTheSerialUnsigned) {
    const char* expected = std::getenv("TARVINO_EXPECT_SERIAL");
    if (!expected) GTEST_SKIP() << "run by the serial test, which sets the volume serial";
    testing::FakeWindow window;
    std::optional<std::int16_t> xs;
    std::optional<std::string> banner;
    showDriveInfo(factory, window, "c:", xs, banner);
    EXPECT_EQ(window.texts[Control::LabelDriveName], "Fixed C:");
    EXPECT_EQ(window.texts[Control::LabelDriveSerialNumber], std::string("SN. ") + expected);
}

TEST(WinSystemInfo, ReportsPlatformVersionAndBuild) {
    WinSystemInfo sys;
    EXPECT_EQ(sys.property(10), 2); // VER_PLATFORM_WIN32_NT
    EXPECT_GE(sys.property(11), 5);
    EXPECT_GT(sys.property(12), 0);
    EXPECT_THROW(sys.property(13), std::runtime_error);
    EXPECT_FALSE(userDecimalSeparator().empty());
}

} // namespace
} // namespace tarvino::win32
