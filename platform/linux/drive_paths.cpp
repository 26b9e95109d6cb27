#include "drive_paths.h"

#include <stdexcept>
#include <vector>

namespace tarvino::linux_drives {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Appends the components of path to parts, resolving "." and ".."; ".." never
// climbs above the start.
void appendComponents(std::vector<std::string>& parts, std::string_view path) {
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && isSeparator(path[i]))
            ++i;
        std::size_t j = i;
        while (j < path.size() && !isSeparator(path[j]))
            ++j;
        const std::string_view part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        i = j;
    }
}

std::string drivePath(char letter, const std::vector<std::string>& parts) {
    std::string out{letter, ':'};
    if (parts.empty()) return out + '\\';
    for (const std::string& p : parts) {
        out += '\\';
        out += p;
    }
    return out;
}

std::vector<std::string> components(std::string_view path) {
    std::vector<std::string> parts;
    appendComponents(parts, path);
    return parts;
}

// Components of a normalised Linux path that lie below the mount point.
std::vector<std::string> below(const std::vector<std::string>& path, const DriveEntry& drive) {
    const std::size_t depth = components(drive.target).size();
    return {path.begin() + static_cast<std::ptrdiff_t>(depth), path.end()};
}

bool isPrefix(const std::vector<std::string>& prefix, const std::vector<std::string>& path) {
    if (prefix.size() > path.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (prefix[i] != path[i]) return false;
    return true;
}

const DriveEntry* holding(const DriveTable& drives, const std::vector<std::string>& path) {
    const DriveEntry* best = nullptr;
    std::size_t bestDepth = 0;
    for (const DriveEntry& d : drives) {
        const std::vector<std::string> mount = components(d.target);
        if (!d.target.empty() && d.target[0] == '/' && isPrefix(mount, path) &&
            (!best || mount.size() > bestDepth)) {
            best = &d;
            bestDepth = mount.size();
        }
    }
    return best;
}

std::string mapLinuxPath(const DriveTable& drives, const std::vector<std::string>& path,
                         std::string_view original) {
    const DriveEntry* drive = holding(drives, path);
    if (!drive)
        throw std::runtime_error("no drive holds the path \"" + std::string(original) + "\"");
    return drivePath(drive->letter, below(path, *drive));
}

} // namespace

std::string driveNameOf(std::string_view path) {
    if (path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':')
        return std::string(path.substr(0, 2));
    return {};
}

std::optional<char> parseDriveLetter(std::string_view name) {
    if (name.empty() || !isAsciiLetter(name[0]) || name.size() > 3) return std::nullopt;
    if (name.size() >= 2 && name[1] != ':') return std::nullopt;
    if (name.size() == 3 && !isSeparator(name[2])) return std::nullopt;
    return upper(name[0]);
}

std::string absolutePathName(const DriveTable& drives, std::string_view path,
                             std::optional<std::string_view> cwd) {
    if (!driveNameOf(path).empty()) {
        const char letter = upper(path[0]);
        const std::string_view rest = path.substr(2);
        std::vector<std::string> parts;
        if (cwd && (rest.empty() || !isSeparator(rest[0]))) {
            // The drive's current directory: cwd if it lies on this drive.
            const std::vector<std::string> here = components(*cwd);
            const DriveEntry* cwdDrive = holding(drives, here);
            if (cwdDrive && cwdDrive->letter == letter) parts = below(here, *cwdDrive);
        }
        appendComponents(parts, rest);
        return drivePath(letter, parts);
    }
    std::vector<std::string> linux;
    if (path.empty() || !isSeparator(path[0])) {
        if (!cwd) throw std::runtime_error("the working directory cannot be read");
        appendComponents(linux, *cwd);
    }
    appendComponents(linux, path);
    return mapLinuxPath(drives, linux, path);
}

} // namespace tarvino::linux_drives
