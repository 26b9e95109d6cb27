#include "device_identity.h"

#include <blkid.h>
#include <cstdlib>
#include <libudev.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace tarvino::linux_drives {

namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
};
struct UdevDeviceDeleter {
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
struct ProbeDeleter {
    void operator()(blkid_struct_probe* p) const { blkid_free_probe(p); }
};
struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

dev_t devno(DeviceNumber device) {
    return makedev(device.major, device.minor);
}

std::optional<std::string> fromUdev(DeviceNumber device, const std::string& name) {
    std::unique_ptr<udev, UdevDeleter> context(udev_new());
    if (!context) return std::nullopt;
    std::unique_ptr<udev_device, UdevDeviceDeleter> dev(
        udev_device_new_from_devnum(context.get(), 'b', devno(device)));
    if (!dev) return std::nullopt;
    const char* value = udev_device_get_property_value(dev.get(), ("ID_FS_" + name).c_str());
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> fromBlkid(DeviceNumber device, const std::string& name) {
    const std::unique_ptr<char, FreeDeleter> node(blkid_devno_to_devname(devno(device)));
    if (!node) return std::nullopt;
    std::unique_ptr<blkid_struct_probe, ProbeDeleter> probe(
        blkid_new_probe_from_filename(node.get()));
    if (!probe) return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(probe.get()) != 0) return std::nullopt;
    const char* value = nullptr;
    if (blkid_probe_lookup_value(probe.get(), name.c_str(), &value, nullptr) != 0 || !value)
        return std::nullopt;
    return std::string(value);
}

} // namespace

DriveEntry rootByStat() {
    DriveEntry root{'C', "/", {}, {}, {}, {}};
    struct stat node {};
    if (stat("/", &node) == 0) root.device = {major(node.st_dev), minor(node.st_dev)};
    if (root.device.major != 0)
        if (auto type = deviceProperty(root.device, "TYPE")) {
            root.fstype = std::move(*type);
            return root;
        }
    struct statfs info {};
    if (statfs("/", &info) == 0)
        root.fstype = nameOfMagic(static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul);
    return root;
}

std::optional<DeviceNumber> blockDeviceOf(const DriveEntry& entry) {
    if (entry.device.major != 0) return entry.device;
    if (entry.source.rfind("/dev/", 0) != 0) return std::nullopt;
    struct stat node {};
    if (stat(entry.source.c_str(), &node) != 0 || !S_ISBLK(node.st_mode)) return std::nullopt;
    return DeviceNumber{major(node.st_rdev), minor(node.st_rdev)};
}

std::optional<DeviceNumber> storageDeviceOf(const DriveEntry& entry) {
    struct stat node {};
    if (entry.storage.empty() || stat(entry.storage.c_str(), &node) != 0 || major(node.st_dev) == 0)
        return std::nullopt;
    return DeviceNumber{major(node.st_dev), minor(node.st_dev)};
}

// statfs's f_type of the common file systems. ext2, ext3 and ext4 share one;
// it is named as the one Debian installs.
std::string nameOfMagic(unsigned long magic) {
    static constexpr struct {
        unsigned long magic;
        const char* name;
    } known[] = {
        {0xEF53, "ext4"},         {0x58465342, "xfs"},   {0x9123683E, "btrfs"},
        {0xF2F52010, "f2fs"},     {0x2FC12FC1, "zfs"},   {0xCA451A4E, "bcachefs"},
        {0x01021994, "tmpfs"},    {0x858458F6, "ramfs"}, {0x794C7630, "overlay"},
        {0x73717368, "squashfs"}, {0x4D44, "vfat"},      {0x2011BAB0, "exfat"},
        {0x7366746E, "ntfs3"},    {0x5346544E, "ntfs"},  {0x65735546, "fuse"},
        {0x6969, "nfs"},          {0xFF534D42, "cifs"},  {0xFE534D42, "smb3"},
        {0x01021997, "9p"},       {0x9660, "iso9660"},   {0x15013346, "udf"},
    };
    for (const auto& k : known)
        if (k.magic == magic) return k.name;
    return {};
}

std::optional<std::string> deviceProperty(DeviceNumber device, const std::string& name) {
    if (auto value = fromUdev(device, name)) return value;
    return fromBlkid(device, name);
}

} // namespace tarvino::linux_drives
