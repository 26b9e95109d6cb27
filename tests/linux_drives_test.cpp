#include "drive_paths.h"
#include "drive_table.h"
#include "linux_drive_service.h"
#include "linux_system_info.h"
#include "volume_serial.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tarvino::linux_drives {
namespace {

namespace fs = std::filesystem;

std::string fixture(const char* name) {
    return std::string(TARVINO_FIXTURES) + "/" + name;
}

std::string lettersAndMounts(const DriveTable& drives) {
    std::string out;
    for (const DriveEntry& d : drives)
        out += std::string(1, d.letter) + "=" + d.target + ";";
    return out;
}

TEST(DriveLetters, FollowTheMountTableAsAUserSeesVolumes) {
    const DriveTable drives = readDriveTable(fixture("desktop.mountinfo"));
    // C: is the topmost "/"; the rest in order of mount point, skipping boot
    // and EFI partitions, loop/ram/floppy sources, pseudo and hidden mounts,
    // local FUSE helpers and a second mount of /dev/sda1.
    EXPECT_EQ(lettersAndMounts(drives), "C=/;D=/data;E=/media/cdrom;F=/media/user/USB STICK;"
                                        "G=/mnt/nas;H=/mnt/remote;I=/mnt/share;J=/tank;"
                                        "K=/var/zram;");
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].source, "/dev/nvme0n1p2");
}

TEST(DriveLetters, RunOutAtZ) {
    const fs::path file = fs::temp_directory_path() / "tarvino-many.mountinfo";
    {
        std::ofstream out(file);
        out << "1 0 8:0 / / rw - ext4 /dev/sda rw\n";
        for (int i = 0; i < 30; ++i)
            out << 10 + i << " 1 65:" << i << " / /vol/v" << (10 + i) << " rw - ext4 /dev/sdx" << i
                << " rw\n";
    }
    const DriveTable drives = readDriveTable(file.string());
    fs::remove(file);
    ASSERT_EQ(drives.size(), 24u); // C: to Z:
    EXPECT_EQ(drives.back().letter, 'Z');
    EXPECT_EQ(drives.back().target, "/vol/v32");
}

TEST(DriveLetters, AContainerRootIsDriveCWhateverItsType) {
    const DriveTable drives = readDriveTable(fixture("container.mountinfo"));
    EXPECT_EQ(lettersAndMounts(drives), "C=/;D=/home/user/Shared;");
    EXPECT_EQ(classifyDrive(drives.at(0), "/nonexistent"), 2); // overlay
    EXPECT_EQ(classifyDrive(drives.at(1), "/nonexistent"), 3); // 9p
}

TEST(DriveLetters, AnUnreadableMountTableFailsNamingTheFile) {
    try {
        readDriveTable("/nonexistent/mountinfo");
        FAIL() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/mountinfo"), std::string::npos);
    }
}

TEST(DriveType, IsClassifiedFromTheMountText) {
    // A fake sysfs where sdb is a removable disk and sda a fixed one.
    const fs::path sys = fs::temp_directory_path() / "tarvino-sys";
    fs::remove_all(sys);
    for (const char* disk : {"sda", "sdb"}) {
        fs::create_directories(sys / "devices" / disk / (std::string(disk) + "1"));
        std::ofstream(sys / "devices" / disk / "removable") << (disk[2] == 'b' ? "1\n" : "0\n");
    }
    fs::create_directories(sys / "class/block");
    fs::create_directory_symlink("../../devices/sda/sda1", sys / "class/block/sda1");
    fs::create_directory_symlink("../../devices/sdb/sdb1", sys / "class/block/sdb1");
    fs::create_directory_symlink("../../devices/sdb", sys / "class/block/sdb");

    const struct {
        const char* fstype;
        const char* source;
        std::int32_t type;
    } cases[] = {
        {"ext4", "/dev/sda1", 2},   {"vfat", "/dev/sdb1", 1},
        {"vfat", "/dev/sdb", 1},    {"xfs", "/dev/mapper/root", 2},
        {"nfs4", "srv:/export", 3}, {"nfs", "srv:/x", 3},
        {"cifs", "//srv/share", 3}, {"smb3", "//srv/share", 3},
        {"fuse.sshfs", "u@h:/", 3}, {"9p", "share", 3},
        {"ceph", "mon:/", 3},       {"glusterfs", "g:/vol", 3},
        {"ext4", "host:/path", 3},  {"iso9660", "/dev/sr0", 4},
        {"udf", "/dev/sdb1", 4},    {"auto", "/dev/sr1", 4},
        {"tmpfs", "tmpfs", 5},      {"ramfs", "none", 5},
        {"ext4", "/dev/zram0", 5},  {"zfs", "tank/data", 2},
        {"overlay", "overlay", 2},  {"bcachefs", "/dev/sda1", 2},
        {"squashfs", "image", 0},   {"proc", "proc", 0},
    };
    for (const auto& c : cases) {
        DriveEntry e;
        e.fstype = c.fstype;
        e.source = c.source;
        EXPECT_EQ(classifyDrive(e, sys.string()), c.type) << c.fstype << " on " << c.source;
    }
    fs::remove_all(sys);
}

TEST(VolumeSerial, IsReducedFromEachUuidForm) {
    const struct {
        const char* uuid;
        std::optional<std::uint32_t> serial;
    } cases[] = {
        {"ABCD-1234", 0xABCD1234u}, // FAT
        {"abcd-12ef", 0xABCD12EFu},
        {"0123456789ABCDEF", 0x89ABCDEFu},                     // NTFS: last 8 digits
        {"00112233-4455-6677-8899-aabbccddeeff", 0x88888888u}, // folded as statfs does
        {"3f1c2a9e-7d4b-4e0a-9c21-5b8e6d0f1a2b", 0x10713DA3u},
        {"3F1C2A9E-7D4B-4E0A-9C21-5B8E6D0F1A2B", 0x10713DA3u},
        {"", std::nullopt},
        {"1234567890123456789", std::nullopt}, // zfs pool guid
        {"ABCD-12345", std::nullopt},
        {"ABCDX1234", std::nullopt},
        {"GHIJ-1234", std::nullopt},
        {"3f1c2a9e7d4b-4e0a-9c21-5b8e6d0f1a2b-", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(serialFromUuid(c.uuid), c.serial) << c.uuid;
}

TEST(DriveNames, AreTakenFromTheTextAlone) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {{"c:\\x", "c:"}, {"C:", "C:"},       {"z:rel", "z:"}, {"c", ""},    {".", ""},
                 {"1:\\", ""},    {"\\\\srv\\s", ""}, {"", ""},        {"/home", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(driveNameOf(c.path), c.name) << c.path;

    const struct {
        const char* name;
        std::optional<char> letter;
    } letters[] = {{"c", 'C'},
                   {"c:", 'C'},
                   {"C:\\", 'C'},
                   {"d:/", 'D'},
                   {"", std::nullopt},
                   {"cc", std::nullopt},
                   {"c:x", std::nullopt},
                   {"1:", std::nullopt},
                   {"c:\\x", std::nullopt}};
    for (const auto& l : letters)
        EXPECT_EQ(parseDriveLetter(l.name), l.letter) << l.name;
}

TEST(AbsolutePaths, CompleteAgainstTheDrivesCurrentDirectory) {
    const DriveTable drives = readDriveTable(fixture("desktop.mountinfo"));
    const struct {
        const char* cwd;
        const char* path;
        const char* full;
    } cases[] = {
        {"/home/u", "c:", "C:\\home\\u"},
        {"/home/u", ".", "C:\\home\\u"},
        {"/home/u", "", "C:\\home\\u"},
        {"/home/u", "docs/./a.txt", "C:\\home\\u\\docs\\a.txt"},
        {"/home/u", "d:", "D:\\"},
        {"/home/u", "d:sub", "D:\\sub"},
        {"/home/u", "q:", "Q:\\"},
        {"/", "c:", "C:\\"},
        {"/media/user/USB STICK/docs", ".", "F:\\docs"},
        {"/media/user/USB STICK/docs", "c:", "C:\\"},
        {"/media/user/USB STICK/docs", "f:", "F:\\docs"},
        {"/media/user/USB STICK/docs", "f:..\\..", "F:\\"},
        {"/media/user/USB STICK/docs", "../../..", "C:\\media"},
        {"/home/u", "F:\\a/b\\..\\c", "F:\\a\\c"},
        {"/home/u", "c:/x//y/", "C:\\x\\y"},
        {"/home/u", "/data/x", "D:\\x"},
        {"/home/u", "/data", "D:\\"},
        {"/home/u", "/datax/y", "C:\\datax\\y"},
        {"/home/u", "\\data\\x", "D:\\x"},
        {"/home/u", "/srv/bind/x", "C:\\srv\\bind\\x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(absolutePathName(drives, c.path, c.cwd), c.full) << c.path << " in " << c.cwd;
}

TEST(LinuxService, ResolvesAndRejectsDrivesByLetter) {
    LinuxDriveServiceFactory factory({.mountTable = fixture("desktop.mountinfo")});
    const auto service = factory.create();
    EXPECT_EQ(service->getDriveName("f:\\docs"), "f:");
    for (const char* name : {"d", "d:", "D:\\"})
        EXPECT_EQ(service->getDrive(name)->driveLetter(), "D") << name;
    EXPECT_EQ(service->getDrive("E:")->driveType(), 4);
    for (const char* name : {"q:", "", "A:", "data"}) {
        try {
            service->getDrive(name);
            ADD_FAILURE() << "no failure for " << name;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + std::string(name) + "\""),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST(LinuxService, FailsToStartWithoutAMountTable) {
    LinuxDriveServiceFactory factory({.mountTable = "/nonexistent/mountinfo"});
    EXPECT_THROW(factory.create(), std::runtime_error);
}

TEST(LinuxService, DescribesThisMachinesRootAsDriveC) {
    LinuxDriveServiceFactory factory;
    const auto service = factory.create();
    const auto drive = service->getDrive(service->getDriveName(service->getAbsolutePathName("/")));
    EXPECT_EQ(drive->driveLetter(), "C");
    EXPECT_GE(drive->driveType(), 0);
    EXPECT_LE(drive->driveType(), 5);
    EXPECT_GT(drive->totalSize(), 0u);
    EXPECT_FALSE(drive->fileSystem().empty());
}

} // namespace
} // namespace tarvino::linux_drives

namespace tarvino::linux_drives {
namespace {

TEST(LinuxSystemInfo, ReadsPlatformVersionAndBuildFromTheKernelRelease) {
    const struct {
        const char* release;
        double version;
        double build;
    } cases[] = {
        {"6.18.44-fc-v1300", 6.18, 44},
        {"6.1.0-28-amd64", 6.1, 0},
        {"5.10.0", 5.10, 0},
        {"4.19.250", 4.19, 250},
        {"6.8", 6.8, 0},
        {"6", 6, 0},
        {"6.18-rc3", 6.18, 0},
        {"", 0, 0},
        {"abc", 0, 0},
        {"3.2.0.1", 3.2, 0},
        {"99999999999999999999.1.1", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinuxSystemInfo::propertyOf(c.release, 10), 4) << c.release;
        EXPECT_EQ(LinuxSystemInfo::propertyOf(c.release, 11), c.version) << c.release;
        EXPECT_EQ(LinuxSystemInfo::propertyOf(c.release, 12), c.build) << c.release;
    }
    EXPECT_THROW(LinuxSystemInfo::propertyOf("6.1.0", 13), std::runtime_error);
    LinuxSystemInfo live;
    EXPECT_EQ(live.property(10), 4);
    EXPECT_GT(live.property(11), 0);
}

} // namespace
} // namespace tarvino::linux_drives
