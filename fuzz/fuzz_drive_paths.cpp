// Drive paths over a synthetic drive table: the first line is the working
// directory, the next lines (up to an empty one) mount points lettered C: on,
// and the rest the path to complete.
#include "drive_paths.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

using namespace tarvino::linux_drives;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto line = [&input]() {
        const auto end = input.find('\n');
        std::string_view l = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        return l;
    };
    const std::string cwd(line());
    DriveTable drives;
    for (char letter = 'C'; letter <= 'Z' && !input.empty();) {
        const std::string_view mount = line();
        if (mount.empty()) break;
        DriveEntry e;
        e.letter = letter++;
        e.target = std::string(mount);
        drives.push_back(e);
    }
    const std::string path(input);

    const std::string name = driveNameOf(path);
    if (!name.empty() && (name.size() != 2 || name[1] != ':')) std::abort();
    if (const auto letter = parseDriveLetter(path); letter && (*letter < 'A' || *letter > 'Z'))
        std::abort();
    try {
        // An empty first line stands for a working directory that cannot be read.
        const std::string full = absolutePathName(
            drives, path, cwd.empty() ? std::nullopt : std::optional<std::string_view>(cwd));
        // Always "X:\" and more: a drive letter, a colon, a backslash.
        if (full.size() < 3 || full[1] != ':' || full[2] != '\\') std::abort();
        if (full.size() > 3 && full.back() == '\\') std::abort();
        if (full.find("\\\\") != std::string::npos) std::abort();
    } catch (const std::runtime_error&) {
        // no lettered drive holds the path, or it needs the missing working
        // directory: a clean failure
    }
    return 0;
}
