#pragma once

#include "drive_table.h"

#include <optional>
#include <string>

namespace tarvino::linux_drives {

// The block device that holds a mount, by number: the mount table's own, or,
// where that is anonymous (major 0, as btrfs gives), the number of the /dev
// node the mount names, which stat reads without access to the device.
// Nothing for a mount of no block device.
std::optional<DeviceNumber> blockDeviceOf(const DriveEntry& entry);

// The block device a layered mount keeps its data on: that of the directory
// named by its storage, where that can be seen from here and is not
// anonymous. Nothing otherwise.
std::optional<DeviceNumber> storageDeviceOf(const DriveEntry& entry);

// A file-system property ("UUID", "TYPE") of a block device: first from
// udev's record (no privileges needed), then by a libblkid probe where the
// device is readable. Nothing when neither knows it.
std::optional<std::string> deviceProperty(DeviceNumber device, const std::string& name);

// Drive C where the mount table has no mount at "/", as in a chroot whose root
// is a plain directory: the file system that holds "/", as stat and statfs
// see it. Its type is the device's where udev or libblkid knows it, else the
// name of statfs's magic number; empty for a magic number not known here.
DriveEntry rootByStat();

// The name of a file system by statfs's f_type, as the mount table would name
// it; empty for a magic number not known here.
std::string nameOfMagic(unsigned long magic);

} // namespace tarvino::linux_drives
