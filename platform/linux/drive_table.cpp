#include "drive_table.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <libmount.h>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tarvino::linux_drives {

namespace {

struct TableDeleter {
    void operator()(libmnt_table* t) const { mnt_unref_table(t); }
};
struct IterDeleter {
    void operator()(libmnt_iter* i) const { mnt_free_iter(i); }
};

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

std::string text(const char* s) {
    return s ? std::string(s) : std::string();
}

bool isBlockDeviceSource(std::string_view source) {
    if (!startsWith(source, "/dev/")) return false;
    return !startsWith(source, "/dev/loop") && !startsWith(source, "/dev/ram") &&
           !startsWith(source, "/dev/fd");
}

// A source that names a host: [user@]host:path, //host/share or scheme://...
bool namesAHost(std::string_view source) {
    if (startsWith(source, "//")) return source.size() > 2;
    const auto colon = source.find(':');
    return colon != std::string_view::npos && colon > 0 &&
           source.substr(0, colon).find('/') == std::string_view::npos;
}

bool isFuse(std::string_view fstype) {
    return fstype == "fuse" || startsWith(fstype, "fuse.");
}

bool isHiddenTarget(std::string_view target) {
    return target == "/boot" || target == "/boot/efi" || target == "/efi";
}

bool isVolume(libmnt_fs* fs, std::string_view fstype, std::string_view source) {
    if (fstype == "zfs" || fstype == "bcachefs") return true;
    if (isBlockDeviceSource(source)) return true;
    // FUSE counts only when its data comes over the network, so that local
    // helpers (the document portal, a container's fuse-overlayfs layers) are
    // not taken for volumes.
    return isNetworkFileSystem(fstype, source) && !mnt_fs_is_pseudofs(fs);
}

std::string deviceKey(const DriveEntry& e) {
    if (e.device != DeviceNumber{})
        return std::to_string(e.device.major) + ":" + std::to_string(e.device.minor);
    return "src:" + e.source;
}

DriveEntry entryOf(libmnt_fs* fs) {
    DriveEntry e;
    e.target = text(mnt_fs_get_target(fs));
    e.source = text(mnt_fs_get_source(fs));
    e.fstype = text(mnt_fs_get_fstype(fs));
    const dev_t devno = mnt_fs_get_devno(fs);
    e.device = {major(devno), minor(devno)};
    if (e.fstype == "overlay")
        if (const char* options = mnt_fs_get_fs_options(fs)) {
            char* value = nullptr;
            std::size_t length = 0;
            if (mnt_optstr_get_option(options, "upperdir", &value, &length) == 0 && value)
                e.storage.assign(value, length);
        }
    return e;
}

// A sysfs attribute's first line. Plain read(2): the program has no other
// use for iostreams, whose first use sets up the C++ locale (about 0.3 ms).
std::string readFirstLine(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    close(fd);
    const std::string_view content(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    return std::string(content.substr(0, content.find('\n')));
}

// Whether the block device whose sysfs directory is `dir` lies on removable
// disks only. A mapped device (LUKS, LVM) is removable when every device it
// is made of is, however deep the stack; a partition has no "removable" of
// its own, its disk one level up has.
bool onRemovableDisks(const std::string& dir, int depth = 0) {
    bool any = false, all = true;
    if (depth < 8)
        if (DIR* slaves = opendir((dir + "/slaves").c_str())) {
            while (const dirent* entry = readdir(slaves)) {
                if (entry->d_name[0] == '.') continue;
                any = true;
                all = all && onRemovableDisks(dir + "/slaves/" + entry->d_name, depth + 1);
            }
            closedir(slaves);
        }
    if (any) return all;
    std::string flag = readFirstLine(dir + "/removable");
    if (flag.empty()) flag = readFirstLine(dir + "/../removable");
    return flag == "1";
}

} // namespace

bool isNetworkFileSystem(std::string_view fstype, std::string_view source) {
    static constexpr std::string_view kernel[] = {"cifs", "smbfs",  "9p",    "ceph", "glusterfs",
                                                  "afs",  "lustre", "davfs", "coda", "ncpfs"};
    if (std::find(std::begin(kernel), std::end(kernel), fstype) != std::end(kernel)) return true;
    if (startsWith(fstype, "nfs") || startsWith(fstype, "smb")) return true;
    if (!isFuse(fstype)) return false;
    // FUSE: by what the helper is, else by a source that names a host.
    static constexpr std::string_view remote[] = {
        "sshfs",         "rclone",   "s3fs",      "gcsfuse",  "curlftpfs", "glusterfs",
        "ceph-fuse",     "cephfs",   "afpfs",     "smbnetfs", "juicefs",   "goofys",
        "mountpoint-s3", "blobfuse", "blobfuse2", "davfs2",   "webdavfs"};
    static constexpr std::string_view local[] = {"fuse-overlayfs", "mergerfs",  "bindfs",
                                                 "squashfuse",     "gocryptfs", "encfs"};
    const std::string_view helper = fstype.substr(std::min(fstype.size(), std::size_t{5}));
    if (std::find(std::begin(remote), std::end(remote), helper) != std::end(remote)) return true;
    if (std::find(std::begin(local), std::end(local), helper) != std::end(local)) return false;
    return namesAHost(source);
}

std::string
fileSystemName(const DriveEntry& entry,
               const std::function<std::optional<std::string>(const DriveEntry&)>& deviceType) {
    // The kernel names every FUSE block file system "fuseblk"; the device knows the real one.
    if (entry.fstype == "fuseblk")
        if (auto type = deviceType(entry)) return *type;
    if (startsWith(entry.fstype, "fuse.") && entry.fstype.size() > 5) return entry.fstype.substr(5);
    return entry.fstype;
}

DriveTable letterDrives(libmnt_table& table, const UnlistedRoot& unlistedRoot) {
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!iter) throw std::runtime_error("cannot iterate the mount table");

    std::vector<DriveEntry> candidates;
    std::optional<DriveEntry> root;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(&table, iter.get(), &fs) == 0) {
        DriveEntry e = entryOf(fs);
        if (e.target == "/") {
            root = std::move(e); // the last one is on top
            continue;
        }
        if (isHiddenTarget(e.target)) continue;
        if (isVolume(fs, e.fstype, e.source)) candidates.push_back(std::move(e));
    }
    if (!root && unlistedRoot) root = unlistedRoot();

    DriveTable drives;
    std::set<std::string> lettered;
    if (root) {
        root->letter = 'C';
        lettered.insert(deviceKey(*root));
        drives.push_back(std::move(*root));
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const DriveEntry& a, const DriveEntry& b) { return a.target < b.target; });
    char next = 'D';
    for (DriveEntry& e : candidates) {
        if (next > 'Z') break;
        if (!lettered.insert(deviceKey(e)).second) continue;
        e.letter = next++;
        drives.push_back(std::move(e));
    }
    return drives;
}

DriveTable readDriveTable(const std::string& path, const UnlistedRoot& unlistedRoot) {
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
    if (!table) throw std::runtime_error("cannot create a mount table");
    const int rc = mnt_table_parse_file(table.get(), path.c_str());
    if (rc != 0) {
        const int err = rc < 0 ? -rc : EINVAL;
        throw std::runtime_error("cannot read the mount table " + path + ": " + std::strerror(err));
    }
    return letterDrives(*table, unlistedRoot);
}

std::int32_t classifyDrive(const DriveEntry& e, std::optional<DeviceNumber> device,
                           const std::string& sysRoot) {
    const std::string_view fs = e.fstype;
    if (isNetworkFileSystem(fs, e.source)) return 3;
    if (fs == "iso9660" || fs == "udf" || startsWith(e.source, "/dev/sr")) return 4;
    if (fs == "tmpfs" || fs == "ramfs" || startsWith(e.source, "/dev/zram")) return 5;
    if (device)
        return onRemovableDisks(sysRoot + "/dev/block/" + std::to_string(device->major) + ":" +
                                std::to_string(device->minor))
                   ? 1
                   : 2;
    if (isBlockDeviceSource(e.source)) return 2;
    // Pools, and layers over local files whose disk is not known: a fixed disk.
    if (fs == "zfs" || fs == "btrfs" || fs == "overlay" || fs == "bcachefs" || isFuse(fs)) return 2;
    return 0;
}

} // namespace tarvino::linux_drives
