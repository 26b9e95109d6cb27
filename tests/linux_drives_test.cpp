#include "device_identity.h"
#include "drive_paths.h"
#include "drive_table.h"
#include "kernel_releases.h"
#include "linux_drive_service.h"
#include "linux_system_info.h"
#include "number_text.h"
#include "system_tools.h"
#include "volume_serial.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <stdlib.h>
#include <sys/utsname.h>

namespace tarvino::linux_drives {
namespace {

namespace fs = std::filesystem;

std::string fixture(const char* name) {
    return std::string(TARVINO_FIXTURES) + "/" + name;
}

// A directory of the test's own, made by mkdtemp: no fixed name under /tmp
// that another user could have put a link at.
struct ScratchDirectory {
    fs::path path;
    ScratchDirectory() {
        std::string name = (fs::temp_directory_path() / "tarvino-test.XXXXXX").string();
        if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
        path = name;
    }
    ~ScratchDirectory() { fs::remove_all(path); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
};

std::string lettersAndMounts(const DriveTable& drives) {
    std::string out;
    for (const DriveEntry& d : drives)
        out += std::string(1, d.letter) + "=" + d.target + ";";
    return out;
}

TEST(DriveLetters, FollowTheMountTableAsAUserSeesVolumes) {
    const DriveTable drives = readDriveTable(fixture("desktop.mountinfo"));
    // C: is the last "/"; the rest in order of mount point, skipping boot
    // and EFI partitions, loop/ram/floppy sources, pseudo mounts,
    // local FUSE helpers and a second mount of /dev/sda1.
    EXPECT_EQ(lettersAndMounts(drives), "C=/;D=/data;E=/media/cdrom;F=/media/user/USB STICK;"
                                        "G=/mnt/nas;H=/mnt/remote;I=/mnt/share;J=/tank;"
                                        "K=/var/zram;");
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].source, "/dev/nvme0n1p2");
}

TEST(DriveLetters, RunOutAtZ) {
    const ScratchDirectory scratch;
    const fs::path file = scratch.path / "many.mountinfo";
    {
        std::ofstream out(file);
        out << "1 0 8:0 / / rw - ext4 /dev/sda rw\n";
        for (int i = 0; i < 30; ++i)
            out << 10 + i << " 1 65:" << i << " / /vol/v" << (10 + i) << " rw - ext4 /dev/sdx" << i
                << " rw\n";
    }
    const DriveTable drives = readDriveTable(file.string());
    ASSERT_EQ(drives.size(), 24u); // C: to Z:
    EXPECT_EQ(drives.back().letter, 'Z');
    EXPECT_EQ(drives.back().target, "/vol/v32");
}

TEST(DriveLetters, AContainerRootIsDriveCWhateverItsType) {
    const ScratchDirectory scratch;
    // Mount tables as rootless Podman, toolbox and distrobox show them to the
    // program inside, and a ZFS root: C:'s type and file system, and which
    // other mounts are volumes (the host's root and home are bound in).
    const struct {
        const char* name;
        const char* mountinfo;
        const char* letters;
        std::int32_t type;
        const char* storage;
    } cases[] = {
        {"podman, fuse-overlayfs",
         "700 650 0:61 / / rw,nodev,relatime - fuse.fuse-overlayfs fuse-overlayfs "
         "rw,user_id=0,group_id=0,default_permissions,allow_other\n"
         "701 700 0:64 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw\n"
         "702 700 0:65 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755,uid=100000\n",
         "C=/;", 2, ""},
        {"podman, kernel overlay",
         "800 750 0:70 / / rw,relatime - overlay overlay rw,lowerdir=/home/u/.local/share/"
         "containers/storage/overlay/l/AB:/home/u/.local/share/containers/storage/overlay/l/CD,"
         "upperdir=/home/u/.local/share/containers/storage/overlay/9f/diff,workdir=/home/u/.local/"
         "share/containers/storage/overlay/9f/work,userxattr\n",
         "C=/;", 2, "/home/u/.local/share/containers/storage/overlay/9f/diff"},
        {"toolbox on Silverblue",
         "900 850 0:80 / / rw,relatime - fuse.fuse-overlayfs fuse-overlayfs rw,user_id=0,"
         "group_id=0,default_permissions,allow_other\n"
         "901 900 0:33 /root /run/host rw,relatime shared:1 master:1 - btrfs /dev/nvme0n1p3 "
         "rw,seclabel,compress=zstd:1,ssd,space_cache=v2,subvolid=257,subvol=/root\n"
         "902 900 0:33 /home /var/home rw,relatime - btrfs /dev/nvme0n1p3 rw,seclabel,"
         "compress=zstd:1,ssd,space_cache=v2,subvolid=256,subvol=/home\n"
         "903 900 0:84 / /run/user/1000/doc rw - fuse.portal portal rw,user_id=1000\n",
         "C=/;D=/run/host;", 2, ""},
        {"distrobox",
         "950 900 0:90 / / rw,relatime - overlay overlay rw,lowerdir=/l,upperdir=/up,workdir=/w\n"
         "951 950 259:2 / /run/host rw,relatime master:1 - ext4 /dev/nvme0n1p2 rw\n"
         "952 950 259:2 /home /home rw,relatime master:1 - ext4 /dev/nvme0n1p2 rw\n"
         "953 950 0:91 / /tmp/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000\n"
         "954 950 0:92 / /home/u/gdrive rw - fuse.rclone gdrive: rw,user_id=1000\n",
         "C=/;D=/home;E=/home/u/gdrive;", 2, "/up"},
        {"ZFS root",
         "27 1 0:23 / / rw,relatime shared:1 - zfs rpool/ROOT/debian rw,xattr,posixacl\n"
         "40 27 0:41 / /home rw,relatime shared:20 - zfs rpool/home rw,xattr,posixacl\n",
         "C=/;D=/home;", 2, ""},
        {"the container fixture", nullptr, "C=/;D=/home/user/Shared;", 2, "/u"},
    };
    for (const auto& c : cases) {
        std::string path = fixture("container.mountinfo");
        if (c.mountinfo) {
            path = (scratch.path / "mountinfo").string();
            std::ofstream(path) << c.mountinfo;
        }
        const DriveTable drives = readDriveTable(path);
        EXPECT_EQ(lettersAndMounts(drives), c.letters) << c.name;
        ASSERT_FALSE(drives.empty()) << c.name;
        EXPECT_EQ(classifyDrive(drives[0], std::nullopt, "/nonexistent"), c.type) << c.name;
        EXPECT_EQ(drives[0].storage, c.storage) << c.name;
    }
}

TEST(DriveLetters, AnUnreadableMountTableFailsNamingTheFile) {
    try {
        readDriveTable("/nonexistent/mountinfo");
        FAIL() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/mountinfo"), std::string::npos);
    }
}

TEST(DriveType, IsClassifiedFromTheMountTextAndTheDevicesNumber) {
    const ScratchDirectory scratch;
    // A fake sysfs where sdb (8:16) is a removable disk and sda (8:0) a fixed
    // one, with partitions 1 to 3 each, and mapped devices stacked on them as
    // dm-N/slaves/ link them: dm-0 LUKS on sdb1 (a BitLocker To Go stick),
    // dm-2 LVM on dm-1, LUKS on sda2; dm-3 LVM over sda3 and sdb2, dm-5 the
    // same the other way round; dm-4 LVM over sdb1 and sdb2. A mapped
    // device's own flag is always 0. The slaves are named by their place, so
    // that dm-3 and dm-5 list theirs in the same order, whatever the order.
    const fs::path sys = scratch.path / "sys";
    for (const char* disk : {"sda", "sdb"}) {
        for (const char* part : {"1", "2", "3"})
            fs::create_directories(sys / "devices" / disk / (std::string(disk) + part));
        std::ofstream(sys / "devices" / disk / "removable") << (disk[2] == 'b' ? "1\n" : "0\n");
    }
    const std::pair<const char*, std::vector<const char*>> mapped[] = {
        {"dm-0", {"sdb/sdb1"}},
        {"dm-1", {"sda/sda2"}},
        {"dm-2", {"dm-1"}},
        {"dm-3", {"sda/sda3", "sdb/sdb2"}},
        {"dm-4", {"sdb/sdb1", "sdb/sdb2"}},
        {"dm-5", {"sdb/sdb3", "sda/sda1"}}};
    for (const auto& [dm, slaves] : mapped) {
        fs::create_directories(sys / "devices" / dm / "slaves");
        std::ofstream(sys / "devices" / dm / "removable") << "0\n";
        for (std::size_t i = 0; i < slaves.size(); ++i)
            fs::create_directory_symlink("../../" + std::string(slaves[i]),
                                         sys / "devices" / dm / "slaves" / std::to_string(i));
    }
    fs::create_directories(sys / "dev/block");
    for (const auto& [number, path] : {std::pair{"8:1", "sda/sda1"},
                                       {"8:17", "sdb/sdb1"},
                                       {"8:16", "sdb"},
                                       {"253:0", "dm-0"},
                                       {"253:2", "dm-2"},
                                       {"253:3", "dm-3"},
                                       {"253:4", "dm-4"},
                                       {"253:5", "dm-5"}})
        fs::create_directory_symlink("../../devices/" + std::string(path),
                                     sys / "dev/block" / number);

    const std::optional<DeviceNumber> none, sda1{{8, 1}}, sdb{{8, 16}}, sdb1{{8, 17}},
        dm0{{253, 0}}, dm2{{253, 2}}, dm3{{253, 3}}, dm4{{253, 4}}, dm5{{253, 5}},
        unknown{{259, 9}};
    const struct {
        const char* fstype;
        const char* source;
        std::optional<DeviceNumber> device;
        std::int32_t type;
    } cases[] = {
        {"ext4", "/dev/sda1", sda1, 2},
        {"vfat", "/dev/sdb1", sdb1, 1},
        {"vfat", "/dev/sdb", sdb, 1},
        {"xfs", "/dev/mapper/root", dm0, 1},     // LUKS on a USB stick
        {"ext4", "/dev/mapper/vg-root", dm2, 2}, // LVM on LUKS on a fixed disk
        {"ext4", "/dev/mapper/vg-data", dm3, 2}, // LVM over a fixed and a removable disk
        {"ext4", "/dev/mapper/vg-more", dm5, 2},
        {"ext4", "/dev/mapper/vg-usb", dm4, 1},        // LVM over two partitions of the stick
        {"vfat", "/dev/disk/by-label/STICK", sdb1, 1}, // the removable disk under another name
        {"exfat", "/dev/root", sdb1, 1},
        {"fuseblk", "/dev/mapper/usb", sdb1, 1},
        {"xfs", "/dev/mapper/root", none, 2},
        {"ext4", "/dev/nvme9n1p1", unknown, 2},
        {"nfs4", "srv:/export", none, 3},
        {"nfs", "srv:/x", none, 3},
        {"cifs", "//srv/share", none, 3},
        {"smb3", "//srv/share", none, 3},
        {"fuse.sshfs", "u@h:/", none, 3},
        {"9p", "share", none, 3},
        {"ceph", "mon:/", none, 3},
        {"glusterfs", "g:/vol", none, 3},
        {"fuse.rclone", "gdrive:", none, 3},
        {"fuse.s3fs", "s3fs", none, 3},
        {"fuse", "sshfs#u@h:/", none, 3},
        {"fuse.unknownfs", "host:/export", none, 3}, // a helper not known: by its source
        {"fuse.unknownfs", "//srv/share", none, 3},
        {"fuse.unknownfs", "x:/data", none, 3}, // a host of one letter
        {"fuse.unknownfs", ":/data", none, 2},
        {"fuse.fuse-overlayfs", "fuse-overlayfs", none, 2},
        {"fuse.mergerfs", "/mnt/a:/mnt/b", none, 2},
        {"fuse.mergerfs", "disk1:disk2", none, 2},
        {"fuse.gocryptfs", "/home/u/.cipher", none, 2},
        {"fuse.unknownfs", "/srv/x", none, 2},
        {"ext4", "host:/path", none, 0}, // a source's form makes no block file system remote
        {"overlay", "overlay", sdb1, 1}, // the upper layer on the stick
        {"iso9660", "/dev/sr0", none, 4},
        {"udf", "/dev/sdb1", sdb1, 4},
        {"auto", "/dev/sr1", none, 4},
        {"tmpfs", "tmpfs", none, 5},
        {"ramfs", "none", none, 5},
        {"ext4", "/dev/zram0", none, 5},
        {"zfs", "tank/data", none, 2},
        {"overlay", "overlay", none, 2},
        {"bcachefs", "/dev/sda1", none, 2},
        {"squashfs", "image", none, 0},
        {"proc", "proc", none, 0},
    };
    for (const auto& c : cases) {
        DriveEntry e;
        e.fstype = c.fstype;
        e.source = c.source;
        EXPECT_EQ(classifyDrive(e, c.device, sys.string()), c.type)
            << c.fstype << " on " << c.source;
    }
}

TEST(DriveType, TheBlockDeviceIsTheMountTablesNumberElseTheNodesOwn) {
    const struct {
        DeviceNumber table;
        const char* source;
        std::optional<DeviceNumber> device;
    } cases[] = {
        {{253, 3}, "/dev/mapper/vg-root", DeviceNumber{253, 3}}, // not read: the table says
        {{8, 2}, "/dev/root", DeviceNumber{8, 2}},
        {{0, 45}, "/dev/null", std::nullopt}, // a character device
        {{0, 45}, "/dev/nonexistent-tarvino", std::nullopt},
        {{0, 45}, "tank/data", std::nullopt},
        {{0, 45}, "/etc/hostname", std::nullopt}, // only nodes under /dev are asked
    };
    for (const auto& c : cases) {
        DriveEntry e;
        e.source = c.source;
        e.device = c.table;
        EXPECT_EQ(blockDeviceOf(e), c.device) << c.source;
    }
}

TEST(Volumes, AreMeasuredAndNamedFromWhatTheKernelGives) {
    // statvfs: f_blocks counts f_frsize fragments, which NFS and XFS can make
    // smaller than f_bsize; old file systems give no fragment size.
    const struct {
        std::uint64_t blocks, fragment, block, bytes;
    } sizes[] = {
        {1000, 4096, 1048576, 4096000}, {1000, 0, 512, 512000}, {1u << 31, 4096, 4096, 1ull << 43}};
    for (const auto& c : sizes)
        EXPECT_EQ(totalBytes(c.blocks, c.fragment, c.block), c.bytes)
            << c.blocks << "x" << c.fragment;
    // Only a FUSE block file system asks its device, and keeps its name where that has none.
    const struct {
        const char* fstype;
        std::optional<std::string> device;
        const char* shown;
    } names[] = {{"fuseblk", "ntfs", "ntfs"},     {"fuseblk", std::nullopt, "fuseblk"},
                 {"fuse.sshfs", "ntfs", "sshfs"}, {"fuse.", "ntfs", "fuse."},
                 {"fuse", "ntfs", "fuse"},        {"ext4", "ntfs", "ext4"}};
    for (const auto& c : names) {
        DriveEntry e;
        e.fstype = c.fstype;
        int asked = 0;
        EXPECT_EQ(fileSystemName(e, [&](const DriveEntry&) { return ++asked, c.device; }), c.shown)
            << c.fstype;
        EXPECT_EQ(asked, e.fstype == "fuseblk" ? 1 : 0) << c.fstype;
    }
    // A root that udev and libblkid cannot name: by the kernel's own magic numbers.
    const struct {
        unsigned long magic;
        const char* name;
    } magics[] = {
        // clang-format off
        {EXT4_SUPER_MAGIC, "ext4"}, {XFS_SUPER_MAGIC, "xfs"}, {BTRFS_SUPER_MAGIC, "btrfs"},
        {F2FS_SUPER_MAGIC, "f2fs"}, {TMPFS_MAGIC, "tmpfs"}, {RAMFS_MAGIC, "ramfs"},
        {OVERLAYFS_SUPER_MAGIC, "overlay"}, {SQUASHFS_MAGIC, "squashfs"}, {MSDOS_SUPER_MAGIC, "vfat"},
        {EXFAT_SUPER_MAGIC, "exfat"}, {NFS_SUPER_MAGIC, "nfs"}, {SMB2_SUPER_MAGIC, "smb3"},
        {CIFS_SUPER_MAGIC, "cifs"}, {V9FS_MAGIC, "9p"}, {ISOFS_SUPER_MAGIC, "iso9660"},
        {UDF_SUPER_MAGIC, "udf"}, {FUSE_SUPER_MAGIC, "fuse"}, {PROC_SUPER_MAGIC, ""},
        // Not in every release's <linux/magic.h>: as their sources define them.
        {0xCA451A4E, "bcachefs"}, {0x7366746E, "ntfs3"}, {0x5346544E, "ntfs"}, {0x2FC12FC1, "zfs"},
        // clang-format on
    };
    for (const auto& c : magics)
        EXPECT_EQ(nameOfMagic(c.magic), c.name) << std::hex << c.magic;
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

TEST(AbsolutePaths, NeedTheWorkingDirectoryOnlyWhenRelativeToIt) {
    // A working directory that cannot be read, as after it was deleted.
    const DriveTable drives = readDriveTable(fixture("desktop.mountinfo"));
    const struct {
        const char* path;
        const char* full; // nullptr: fails, naming the working directory
    } cases[] = {
        {"c:", "C:\\"},       {"C:x\\y", "C:\\x\\y"},   {"d:sub", "D:\\sub"},
        {"/data/x", "D:\\x"}, {"f:\\docs", "F:\\docs"}, {".", nullptr},
        {"", nullptr},        {"docs", nullptr},        {"..", nullptr},
    };
    for (const auto& c : cases) {
        if (c.full) {
            EXPECT_EQ(absolutePathName(drives, c.path, std::nullopt), c.full) << c.path;
            continue;
        }
        try {
            absolutePathName(drives, c.path, std::nullopt);
            ADD_FAILURE() << "no failure for " << c.path;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("working directory"), std::string::npos)
                << e.what();
        }
    }
}

TEST(LinuxService, ResolvesAndRejectsDrivesByLetter) {
    LinuxDriveServiceFactory factory({.mountTable = fixture("desktop.mountinfo")});
    const auto service = factory.create();
    EXPECT_EQ(service->getDriveName("f:\\docs"), "f:");
    for (const char* name : {"d", "d:", "D:\\"})
        EXPECT_EQ(service->getDrive(name)->driveLetter(), "D") << name;
    EXPECT_EQ(service->getDrive("E:")->driveType(), 4);
    EXPECT_EQ(service->getDrive("H:")->fileSystem(), "sshfs"); // fuse.sshfs, named as users do
    EXPECT_EQ(service->getDrive("D:")->fileSystem(), "ext4");
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
    EXPECT_EQ(drive->serialNumber(), testing::expectedSerial());
    if (const auto type = testing::expectedDriveType()) {
        EXPECT_EQ(drive->driveType(), *type) << testing::rootDevice();
    }
    EXPECT_GT(drive->totalSize(), 0u);
    EXPECT_FALSE(drive->fileSystem().empty());
}

} // namespace
} // namespace tarvino::linux_drives

namespace tarvino::linux_drives {
namespace {

TEST(LinuxSystemInfo, ReadsVersionAndBuildFromTheKernelRelease) {
    const struct {
        const char* release;
        double version;
        double build;
    } odd[] = {
        {"5.10.0", 5.10, 0}, {"4.19.250", 4.19, 250},
        {"6.8", 6.8, 0},     {"6", 6, 0},
        {"", 0, 0},          {"abc", 0, 0},
        {"3.2.0.1", 3.2, 0}, {"99999999999999999999.1.1", 0, 0},
        {"6.18-2", 6.18, 0}, // a number after anything but a point is no build
    };
    for (const auto& c : odd) {
        EXPECT_EQ(LinuxSystemInfo::propertyOf(c.release, 11), c.version) << c.release;
        EXPECT_EQ(LinuxSystemInfo::propertyOf(c.release, 12), c.build) << c.release;
    }
    // Real releases, as the OS line shows them.
    for (const auto& k : testing::kernelReleases) {
        const auto version = static_cast<float>(LinuxSystemInfo::propertyOf(k.release, 11));
        EXPECT_EQ(singleToText(version, "."), k.version) << k.release;
        EXPECT_EQ(LinuxSystemInfo::propertyOf(k.release, 12), k.build) << k.release;
    }
    EXPECT_THROW(LinuxSystemInfo::propertyOf("6.1.0", 13), std::runtime_error);
}

TEST(LinuxSystemInfo, ReadsThisMachinesKernel) {
    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    // The rule is the table's above; live, the release it reads is uname's.
    LinuxSystemInfo live;
    EXPECT_EQ(live.property(11), LinuxSystemInfo::propertyOf(names.release, 11)) << names.release;
    EXPECT_EQ(live.property(12), LinuxSystemInfo::propertyOf(names.release, 12)) << names.release;
}

} // namespace
} // namespace tarvino::linux_drives
