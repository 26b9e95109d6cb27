#pragma once

// What the system's own tools (findmnt, blkid, stat, lsblk) say of the root
// file system, for the live tests to hold the providers to.

#include "volume_serial.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

namespace tarvino::testing {

// A shell command's output, without its last line end; empty when it fails.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        pclose(pipe);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// The device mounted at "/", as /dev/...; empty for none (overlay, a plain
// chroot). findmnt adds a btrfs subvolume in brackets.
inline std::string rootDevice() {
    const std::string source = commandOutput("findmnt -no SOURCE /");
    return source.rfind("/dev/", 0) == 0 ? source.substr(0, source.find('[')) : std::string();
}

// The serial drive C must show: blkid's UUID, folded as a volume serial; where
// blkid cannot tell (no access to the device, no UUID), the kernel's own
// file-system id, whose first word statfs gives and stat prints first.
inline std::uint32_t expectedSerial() {
    const std::string device = rootDevice();
    if (!device.empty())
        if (auto serial =
                linux_drives::serialFromUuid(commandOutput("blkid -o value -s UUID " + device)))
            return *serial;
    const std::string fsid = commandOutput("stat -f -c %i /");
    return static_cast<std::uint32_t>(std::stoull(fsid.empty() ? "0" : fsid, nullptr, 16) >> 32);
}

// The drive type drive C must show where the root is on disks: 1 when every
// disk under it is removable, as lsblk reads them down the stack, else 2.
inline std::optional<std::int32_t> expectedDriveType() {
    const std::string device = rootDevice();
    if (device.empty()) return std::nullopt;
    std::istringstream lines(commandOutput("lsblk -snlo RM,TYPE " + device));
    std::string removable, type;
    bool disks = false, allRemovable = true;
    while (lines >> removable >> type)
        if (type == "disk") {
            disks = true;
            allRemovable = allRemovable && removable == "1";
        }
    if (!disks) return std::nullopt;
    return allRemovable ? 1 : 2;
}

} // namespace tarvino::testing
