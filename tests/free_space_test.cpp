#include "drive_summary.h"
#include "fakes.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvino::testing {
namespace {

struct FreeSpaceRun {
    FakeDriveFactory services;
    FakeWindow window;
    bool threw = false;
    std::string error;

    FreeSpaceRun(DriveScript drive, std::map<int, double> system,
                 const std::string& path = "c:", const std::string& sysFailAt = {},
                 std::string_view separator = ".") {
        services.script = std::move(drive);
        FakeSysInfo sys(std::move(system), services.log, sysFailAt);
        try {
            showFreeSpace(services, sys, separator, window, path);
        } catch (const std::runtime_error& e) {
            threw = true;
            error = e.what();
        }
    }
};

const std::map<int, double> windows10 = {{10, 2}, {11, 10}, {12, 19045}};

TEST(ShowFreeSpace, WritesTheThreeLines) {
    const struct {
        std::uint64_t size;
        const char* fs;
        std::map<int, double> system;
        const char* separator;
        const char* ts;
        const char* os;
    } cases[] = {
        {256052966400u, "NTFS", windows10, ".", "TS. 256052966400", "OS. 2/10/19045"},
        {0u, "FAT", {{10, 1}, {11, 4.9f}, {12, 3000}}, ".", "TS. 0", "OS. 1/4.9/3000"},
        {18446744073709551615u,
         "ext4",
         {{10, 4}, {11, 6.18}, {12, 44}},
         ",",
         "TS. 18446744073709551615",
         "OS. 4/6,18/44"},
        {1u, "zfs", {{10, 4}, {11, 5}, {12, 0}}, ",", "TS. 1", "OS. 4/5/0"},
        {512u, "NTFS", {{10, 2}, {11, 10}, {12, 26100}}, ".", "TS. 512", "OS. 2/10/26100"},
    };
    for (const auto& c : cases) {
        FreeSpaceRun r(DriveScript{.totalSize = c.size, .fileSystem = c.fs}, c.system, "c:", {},
                       c.separator);
        ASSERT_FALSE(r.threw) << r.error;
        EXPECT_EQ(r.window.texts[Control::LabelTotalSize], c.ts);
        EXPECT_EQ(r.window.texts[Control::LabelFileSystem], std::string("FS. ") + c.fs);
        EXPECT_EQ(r.window.texts[Control::LabelOS], c.os);
    }
}

TEST(ShowFreeSpace, UsesTheDrivePartDirectlyAndReadsInOrder) {
    FreeSpaceRun r(DriveScript{}, windows10, "c:");
    const std::vector<std::string> expected = {"create",      "GetDriveName(c:)", "GetDrive(c:)",
                                               "totalsize",   "FileSystem",       "SysInfo(10)",
                                               "SysInfo(11)", "SysInfo(12)"};
    EXPECT_EQ(r.services.log.calls, expected);
    EXPECT_EQ(r.window.order, (std::vector<Control>{Control::LabelTotalSize,
                                                    Control::LabelFileSystem, Control::LabelOS}));
    EXPECT_EQ(r.services.log.created, 2);
    EXPECT_EQ(r.services.log.released, 2);
}

TEST(ShowFreeSpace, AFailureKeepsEarlierLinesAndReleasesEverything) {
    const struct {
        const char* name;
        DriveScript drive;
        std::map<int, double> system;
        const char* path;
        const char* sysFailAt;
        int linesSet; // TS, FS, OS in that order
    } cases[] = {
        {"no service", {.failAt = "create"}, windows10, "c:", "", 0},
        {"no such drive", {.failAt = "GetDrive"}, windows10, "q:", "", 0},
        {"relative path", {}, windows10, "docs\\x", "", 0},
        {"size unreadable", {.failAt = "totalsize"}, windows10, "c:", "", 0},
        {"file system unreadable", {.failAt = "FileSystem"}, windows10, "c:", "", 1},
        {"platform unreadable", {}, windows10, "c:", "SysInfo(10)", 2},
        {"build unreadable", {}, windows10, "c:", "SysInfo(12)", 2},
        {"build beyond 32 bits", {}, {{10, 2}, {11, 10}, {12, 2147483648.0}}, "c:", "", 2},
        {"platform not a number", {}, {{10, NAN}, {11, 10}, {12, 1}}, "c:", "", 2},
        {"version beyond single", {}, {{10, 2}, {11, 1e39}, {12, 1}}, "c:", "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreeSpaceRun r(c.drive, c.system, c.path, c.sysFailAt);
        EXPECT_TRUE(r.threw);
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(r.window.has(Control::LabelTotalSize), c.linesSet >= 1);
        EXPECT_EQ(r.window.has(Control::LabelFileSystem), c.linesSet >= 2);
        EXPECT_FALSE(r.window.has(Control::LabelOS));
        EXPECT_EQ(r.services.log.created, r.services.log.released);
    }
}

TEST(ShowFreeSpace, ABuildAbove32767IsShownNotRejected) {
    FreeSpaceRun r(DriveScript{}, {{10, 2}, {11, 10}, {12, 32768}});
    ASSERT_FALSE(r.threw) << r.error;
    EXPECT_EQ(r.window.texts[Control::LabelOS], "OS. 2/10/32768");
}

} // namespace
} // namespace tarvino::testing
