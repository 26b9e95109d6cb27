#include "device_identity.h"

#include <blkid.h>
#include <libudev.h>
#include <memory>

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

std::optional<std::string> fromUdev(const std::string& device, const std::string& name) {
    const std::string sysname = device.substr(device.rfind('/') + 1);
    std::unique_ptr<udev, UdevDeleter> context(udev_new());
    if (!context) return std::nullopt;
    std::unique_ptr<udev_device, UdevDeviceDeleter> dev(
        udev_device_new_from_subsystem_sysname(context.get(), "block", sysname.c_str()));
    if (!dev) return std::nullopt;
    const char* value = udev_device_get_property_value(dev.get(), ("ID_FS_" + name).c_str());
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> fromBlkid(const std::string& device, const std::string& name) {
    std::unique_ptr<blkid_struct_probe, ProbeDeleter> probe(
        blkid_new_probe_from_filename(device.c_str()));
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

std::optional<std::string> deviceProperty(const std::string& device, const std::string& name) {
    if (auto value = fromUdev(device, name)) return value;
    return fromBlkid(device, name);
}

} // namespace tarvino::linux_drives
