#pragma once

// Scriptable stand-ins for the platform services and the window, recording
// every call so tests can check order, results and releases.

#include "drive_service.h"
#include "system_info.h"
#include "window_text.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvino::testing {

struct DriveScript {
    std::int32_t type = 2;
    std::string letter = "C";
    std::uint32_t serial = 1234567890u;
    std::uint64_t totalSize = 0;
    std::string fileSystem = "NTFS";
    std::string failAt; // the operation or property that throws, if any
};

struct CallLog {
    std::vector<std::string> calls;
    int created = 0;
    int released = 0;
    void hit(const std::string& name, const std::string& failAt) {
        calls.push_back(name);
        // failAt names an operation: "GetDrive" fails "GetDrive(C:)" too.
        if (!failAt.empty() && (name == failAt || name.rfind(failAt + "(", 0) == 0))
            throw std::runtime_error(name + " failed");
    }
};

class FakeDrive : public Drive {
public:
    FakeDrive(const DriveScript& s, CallLog& log) : s_(s), log_(log) { ++log_.created; }
    ~FakeDrive() override { ++log_.released; }
    std::int32_t driveType() override { return log_.hit("DriveType", s_.failAt), s_.type; }
    std::string driveLetter() override { return log_.hit("driveletter", s_.failAt), s_.letter; }
    std::uint32_t serialNumber() override { return log_.hit("serialnumber", s_.failAt), s_.serial; }
    std::uint64_t totalSize() override { return log_.hit("totalsize", s_.failAt), s_.totalSize; }
    std::string fileSystem() override { return log_.hit("FileSystem", s_.failAt), s_.fileSystem; }

private:
    const DriveScript& s_;
    CallLog& log_;
};

// Resolves every path to drive C as the real service resolves "c:".
class FakeDriveService : public DriveService {
public:
    FakeDriveService(const DriveScript& s, CallLog& log) : s_(s), log_(log) { ++log_.created; }
    ~FakeDriveService() override { ++log_.released; }
    std::string getAbsolutePathName(const std::string& path) override {
        log_.hit("GetAbsolutePathName(" + path + ")", s_.failAt);
        return "C:\\work";
    }
    std::string getDriveName(const std::string& path) override {
        log_.hit("GetDriveName(" + path + ")", s_.failAt);
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
    }
    std::unique_ptr<Drive> getDrive(const std::string& name) override {
        log_.hit("GetDrive(" + name + ")", s_.failAt);
        if (name.empty()) throw std::runtime_error("GetDrive: drive \"\" not found");
        return std::make_unique<FakeDrive>(s_, log_);
    }

private:
    const DriveScript& s_;
    CallLog& log_;
};

class FakeDriveFactory : public DriveServiceFactory {
public:
    DriveScript script;
    CallLog log;
    std::unique_ptr<DriveService> create() override {
        log.hit("create", script.failAt);
        return std::make_unique<FakeDriveService>(script, log);
    }
};

// Reports the given values; logs its reads into the same log as the drives.
class FakeSysInfo : public SystemInfo {
public:
    FakeSysInfo(std::map<int, double> values, CallLog& log, std::string failAt = {})
        : values_(std::move(values)), log_(log), failAt_(std::move(failAt)) {}
    double property(int id) override {
        log_.hit("SysInfo(" + std::to_string(id) + ")", failAt_);
        return values_.at(id);
    }

private:
    std::map<int, double> values_;
    CallLog& log_;
    std::string failAt_;
};

class FakeWindow : public WindowText {
public:
    std::map<Control, std::string> texts;
    std::vector<Control> order;
    void setText(Control control, std::string_view text) override {
        texts[control] = std::string(text);
        order.push_back(control);
    }
    bool has(Control c) const { return texts.count(c) != 0; }
};

} // namespace tarvino::testing
