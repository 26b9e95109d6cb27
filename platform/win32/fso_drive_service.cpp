#include "fso_drive_service.h"

#include "dispatch.h"
#include "utf.h"
#include "variant_value.h"

#include <stdexcept>

namespace tarvino::win32 {

namespace {

class FsoDrive : public Drive {
public:
    explicit FsoDrive(Dispatch drive) : drive_(std::move(drive)) {}

    std::int32_t driveType() override { return read(L"DriveType", toInt32); }
    std::string driveLetter() override { return read(L"driveletter", toText); }
    std::uint32_t serialNumber() override { return read(L"serialnumber", toSerial); }
    std::uint64_t totalSize() override { return read(L"totalsize", toByteCount); }
    std::string fileSystem() override { return read(L"FileSystem", toText); }

private:
    // Reads a property by name and converts the variant it hands back.
    template <typename Value>
    Value read(const wchar_t* name, Value (*convert)(const VARIANT&, const char*)) {
        Variant v;
        drive_.get(name, v);
        return convert(*v, narrow(name).c_str());
    }

    Dispatch drive_;
};

class FsoDriveService : public DriveService {
public:
    FsoDriveService() : fso_(Dispatch::create(L"Scripting.FileSystemObject")) {}

    std::string getAbsolutePathName(const std::string& path) override {
        return textCall(L"GetAbsolutePathName", path);
    }
    std::string getDriveName(const std::string& path) override {
        return textCall(L"GetDriveName", path);
    }
    std::unique_ptr<Drive> getDrive(const std::string& driveName) override {
        Variant v;
        fso_.call(L"GetDrive", widen(driveName), v);
        if ((*v).vt != VT_DISPATCH || !(*v).pdispVal)
            throw std::runtime_error("GetDrive(\"" + driveName + "\") returned no drive");
        IDispatch* drive = (*v).pdispVal;
        drive->AddRef(); // the Variant releases its own reference
        return std::make_unique<FsoDrive>(Dispatch(drive));
    }

private:
    std::string textCall(const wchar_t* name, const std::string& argument) {
        Variant v;
        fso_.call(name, widen(argument), v);
        return toText(*v, narrow(name).c_str());
    }

    Dispatch fso_;
};

} // namespace

std::unique_ptr<DriveService> FsoDriveServiceFactory::create() {
    return std::make_unique<FsoDriveService>();
}

} // namespace tarvino::win32
