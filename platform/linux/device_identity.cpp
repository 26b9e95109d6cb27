#include "device_identity.h"

#include <blkid.h>
#include <cstdlib>
#include <libudev.h>
#include <memory>
#include <sys/stat.h>
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

std::optional<DeviceNumber> blockDeviceOf(const DriveEntry& entry) {
    if (entry.device.major != 0) return entry.device;
    if (entry.source.rfind("/dev/", 0) != 0) return std::nullopt;
    struct stat node {};
    if (stat(entry.source.c_str(), &node) != 0 || !S_ISBLK(node.st_mode)) return std::nullopt;
    return DeviceNumber{major(node.st_rdev), minor(node.st_rdev)};
}

std::optional<std::string> deviceProperty(DeviceNumber device, const std::string& name) {
    if (auto value = fromUdev(device, name)) return value;
    return fromBlkid(device, name);
}

} // namespace tarvino::linux_drives
