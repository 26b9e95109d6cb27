#pragma once

#include "drive_table.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvino::linux_drives {

// The drive part of a path, exactly as written: "c:" of "c:\x"; "" when none.
std::string driveNameOf(std::string_view path);

// The upper-case letter named by "c", "c:", "C:\" or "c:/"; nothing otherwise.
std::optional<char> parseDriveLetter(std::string_view name);

// Completes a path as the drive-information service does, giving "X:\dir\sub".
// "\" and "/" both separate. "x:" and "x:rel" complete against that drive's
// current directory (cwd when it lies on that drive, else the drive's root);
// other relative paths against cwd; Linux absolute paths map to their drive.
// cwd is the process's Linux working directory, or nothing when it cannot be
// read (deleted, or not searchable): drive paths then complete against the
// drive's root. Throws std::runtime_error when no drive holds the path, or
// when the path needs the working directory and there is none.
std::string absolutePathName(const DriveTable& drives, std::string_view path,
                             std::optional<std::string_view> cwd);

} // namespace tarvino::linux_drives
