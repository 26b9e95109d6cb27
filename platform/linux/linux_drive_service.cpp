#include "linux_drive_service.h"

#include "device_identity.h"
#include "drive_paths.h"
#include "drive_table.h"
#include "volume_serial.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace tarvino::linux_drives {

namespace {

std::runtime_error failure(const std::string& what, int err) {
    return std::runtime_error(what + ": " + std::strerror(err));
}

// Nothing when it cannot be read: deleted, or a directory above it not searchable.
std::optional<std::string> currentDirectory() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

class LinuxDrive : public Drive {
public:
    LinuxDrive(DriveEntry entry, std::string sysRoot)
        : entry_(std::move(entry)), sysRoot_(std::move(sysRoot)) {}

    std::int32_t driveType() override {
        auto device = blockDeviceOf(entry_);
        if (!device) device = storageDeviceOf(entry_);
        return classifyDrive(entry_, device, sysRoot_);
    }
    std::string driveLetter() override { return std::string(1, entry_.letter); }

    std::uint32_t serialNumber() override {
        if (const auto device = blockDeviceOf(entry_))
            if (auto uuid = deviceProperty(*device, "UUID"))
                if (auto serial = serialFromUuid(*uuid)) return *serial;
        struct statfs info {};
        if (statfs(entry_.target.c_str(), &info) != 0) {
            const int err = errno; // before the message is built, which may allocate
            throw failure(
                "serialnumber of drive " + driveLetter() + ": cannot query " + entry_.target, err);
        }
        return static_cast<std::uint32_t>(info.f_fsid.__val[0]);
    }

    std::uint64_t totalSize() override;
    std::string fileSystem() override;

private:
    DriveEntry entry_;
    std::string sysRoot_;
};

std::uint64_t LinuxDrive::totalSize() {
    struct statvfs info {};
    if (statvfs(entry_.target.c_str(), &info) != 0) {
        const int err = errno; // before the message is built, which may allocate
        throw failure("totalsize of drive " + driveLetter() + ": cannot query " + entry_.target,
                      err);
    }
    return totalBytes(info.f_blocks, info.f_frsize, info.f_bsize);
}

std::string LinuxDrive::fileSystem() {
    return fileSystemName(entry_, [](const DriveEntry& e) -> std::optional<std::string> {
        if (const auto device = blockDeviceOf(e)) return deviceProperty(*device, "TYPE");
        return std::nullopt;
    });
}

class LinuxDriveService : public DriveService {
public:
    explicit LinuxDriveService(const LinuxDriveConfig& config)
        : drives_(readDriveTable(config.mountTable, rootByStat)), sysRoot_(config.sysRoot) {}

    std::string getAbsolutePathName(const std::string& path) override {
        try {
            return absolutePathName(drives_, path, currentDirectory());
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(std::string("GetAbsolutePathName: ") + e.what());
        }
    }

    std::string getDriveName(const std::string& path) override { return driveNameOf(path); }

    std::unique_ptr<Drive> getDrive(const std::string& driveName) override {
        if (const auto letter = parseDriveLetter(driveName)) {
            for (const DriveEntry& d : drives_)
                if (d.letter == *letter) return std::make_unique<LinuxDrive>(d, sysRoot_);
        }
        throw std::runtime_error("GetDrive: drive \"" + driveName + "\" not found");
    }

private:
    DriveTable drives_;
    std::string sysRoot_;
};

} // namespace

std::uint64_t totalBytes(std::uint64_t blocks, std::uint64_t fragmentSize,
                         std::uint64_t blockSize) {
    // f_frsize is the unit of f_blocks; old file systems leave it 0.
    return blocks * (fragmentSize != 0 ? fragmentSize : blockSize);
}

LinuxDriveServiceFactory::LinuxDriveServiceFactory(LinuxDriveConfig config)
    : config_(std::move(config)) {}

std::unique_ptr<DriveService> LinuxDriveServiceFactory::create() {
    return std::make_unique<LinuxDriveService>(config_);
}

} // namespace tarvino::linux_drives
