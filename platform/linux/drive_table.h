#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct libmnt_table;

namespace tarvino::linux_drives {

// A device's number, major:minor, as the kernel, udev and sysfs know it.
struct DeviceNumber {
    unsigned major = 0;
    unsigned minor = 0;
    bool operator==(const DeviceNumber&) const = default;
};

// One lettered volume, as the mount table describes it.
struct DriveEntry {
    char letter = 0;     // 'C' .. 'Z'
    std::string target;  // mount point
    std::string source;  // e.g. /dev/sda1, server:/export, pool/data
    std::string fstype;  // as the mount table gives it
    DeviceNumber device; // from the table; major 0 when anonymous (btrfs, nfs, tmpfs)
    std::string storage; // where a layered file system keeps its data: overlay's upperdir
};

using DriveTable = std::vector<DriveEntry>;

// Gives drive C when the table has no mount at "/".
using UnlistedRoot = std::function<DriveEntry()>;

// Letters the volumes of a parsed mount table: C: is the last mount at "/",
// else what unlistedRoot gives, if anything; D: to Z: the other volumes a user
// would see, in order of mount point. Works from the table's text alone; no
// mount is touched.
DriveTable letterDrives(libmnt_table& table, const UnlistedRoot& unlistedRoot = nullptr);

// Reads and letters a mount table file (mountinfo or fstab format). Throws
// std::runtime_error naming the file when it cannot be read.
DriveTable readDriveTable(const std::string& path, const UnlistedRoot& unlistedRoot = nullptr);

// The drive-type code of a volume from its mount-table text and the block
// device that holds it, if any. sysRoot is where sysfs is mounted, read only
// to tell a removable disk from a fixed one: by the device's number, so that
// /dev/mapper/<name> or /dev/root are found too.
std::int32_t classifyDrive(const DriveEntry& entry, std::optional<DeviceNumber> device,
                           const std::string& sysRoot);

// A volume's file system as users know it: a FUSE block file system by its
// device's own type, which deviceType is asked for only then; a FUSE helper
// by its name ("fuse.sshfs" is sshfs); any other as the mount table names it.
std::string
fileSystemName(const DriveEntry& entry,
               const std::function<std::optional<std::string>(const DriveEntry&)>& deviceType);

// Whether a file system's data comes over the network: by its type, or, for a
// FUSE helper not known either way, by a source that names a host.
bool isNetworkFileSystem(std::string_view fstype, std::string_view source);

} // namespace tarvino::linux_drives
