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

    std::int32_t driveType() override {
        Variant v;
        drive_.get(L"DriveType", v);
        return toInt32(*v, "DriveType");
    }
    std::string driveLetter() override {
        Variant v;
        drive_.get(L"driveletter", v);
        return toText(*v, "driveletter");
    }
    std::uint32_t serialNumber() override {
        Variant v;
        drive_.get(L"serialnumber", v);
        return toSerial(*v, "serialnumber");
    }
    std::uint64_t totalSize() override {
        Variant v;
        drive_.get(L"totalsize", v);
        return toByteCount(*v, "totalsize");
    }
    std::string fileSystem() override {
        Variant v;
        drive_.get(L"FileSystem", v);
        return toText(*v, "FileSystem");
    }

private:
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
