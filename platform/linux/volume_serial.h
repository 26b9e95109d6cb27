#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarvino::linux_drives {

// Reduces a file-system UUID, as blkid and udev print it, to a 32-bit volume
// serial: FAT's "ABCD-1234" is that number; NTFS's 16 hex digits give their
// last 8; a 128-bit UUID is folded as the kernel folds it for statfs's f_fsid.
// Any other form gives nothing.
std::optional<std::uint32_t> serialFromUuid(std::string_view uuid);

} // namespace tarvino::linux_drives
