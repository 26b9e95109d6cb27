#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct libmnt_table;

namespace tarvino::linux_drives {

// One lettered volume, as the mount table describes it.
struct DriveEntry {
    char letter = 0;    // 'C' .. 'Z'
    std::string target; // mount point
    std::string source; // e.g. /dev/sda1, server:/export, pool/data
    std::string fstype; // as the mount table gives it
    unsigned major = 0; // device number from the table; 0:0 when it has none
    unsigned minor = 0;
};

using DriveTable = std::vector<DriveEntry>;

// Letters the volumes of a parsed mount table: C: is the topmost mount at "/",
// D: to Z: the other volumes a user would see, in order of mount point. Works
// from the table's text alone; no mount is touched.
DriveTable letterDrives(libmnt_table& table);

// Reads and letters a mount table file (mountinfo or fstab format). Throws
// std::runtime_error naming the file when it cannot be read.
DriveTable readDriveTable(const std::string& path);

// The drive-type code of a volume from its mount-table text; sysRoot is where
// sysfs is mounted, read only to tell a removable disk from a fixed one.
std::int32_t classifyDrive(const DriveEntry& entry, const std::string& sysRoot);

bool isNetworkFileSystem(std::string_view fstype, std::string_view source);

} // namespace tarvino::linux_drives
