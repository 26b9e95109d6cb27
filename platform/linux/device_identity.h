#pragma once

#include <optional>
#include <string>

namespace tarvino::linux_drives {

// A file-system property ("UUID", "TYPE") of a block device such as /dev/sda1:
// first from udev's database (no privileges needed), then by a libblkid probe
// where the device is readable. Nothing when neither knows it.
std::optional<std::string> deviceProperty(const std::string& device, const std::string& name);

} // namespace tarvino::linux_drives
