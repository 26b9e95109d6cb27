#include "drive_summary.h"

#include "number_text.h"

#include <array>

namespace tarvino {

std::string_view bannerText() {
    return "                       "
           "Orlenda welcomes your suggestions and remarks: write to tarvino@example.com "
           "or visit https://www.example.com/tarvino ";
}

std::string_view driveTypeWord(std::int32_t code) {
    static constexpr std::array<std::string_view, 6> words = {"Unknown", "Removable", "Fixed",
                                                              "Network", "CD-ROM",    "RAM Disk"};
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(words.size()); ++i) {
        if (code == i) return words[static_cast<std::size_t>(i)];
    }
    return {};
}

void showDriveInfo(DriveServiceFactory& services, WindowText& window, const std::string& drvPath,
                   std::optional<std::int16_t>& xs, std::optional<std::string>& finalStatus) {
    xs = 1;
    const std::unique_ptr<DriveService> fso = services.create();
    const std::unique_ptr<Drive> drive =
        fso->getDrive(fso->getDriveName(fso->getAbsolutePathName(drvPath)));

    const std::string_view word = driveTypeWord(drive->driveType());
    std::string driveLine(word);
    driveLine += ' ';
    driveLine += drive->driveLetter();
    driveLine += ':';
    window.setText(Control::LabelDriveName, driveLine);

    // A volume serial is an unsigned identifier: show it without a sign.
    window.setText(Control::LabelDriveSerialNumber,
                   "SN. " + wholeToText(std::uint64_t{drive->serialNumber()}));

    finalStatus = std::string(bannerText());
}

void showFreeSpace(DriveServiceFactory& services, SystemInfo& sysInfo,
                   std::string_view decimalSeparator, WindowText& window,
                   const std::string& drvPath) {
    const std::unique_ptr<DriveService> fso = services.create();
    const std::unique_ptr<Drive> drive = fso->getDrive(fso->getDriveName(drvPath));

    window.setText(Control::LabelTotalSize, "TS. " + wholeToText(drive->totalSize()));
    window.setText(Control::LabelFileSystem, "FS. " + drive->fileSystem());

    // Platform and build are converted to 32 bits, not 16: a build past 32767
    // would otherwise fail the conversion and stop the window from loading.
    // Windows 11's builds (about 22000 to 26200) are not far below that.
    const std::int32_t platform =
        toWhole32(sysInfo.property(SystemInfo::platformId), "operating-system platform");
    const float version =
        toSingle(sysInfo.property(SystemInfo::versionId), "operating-system version");
    const std::int32_t build =
        toWhole32(sysInfo.property(SystemInfo::buildId), "operating-system build");
    window.setText(Control::LabelOS, "OS. " + wholeToText(std::int64_t{platform}) + "/" +
                                         singleToText(version, decimalSeparator) + "/" +
                                         wholeToText(std::int64_t{build}));
}

} // namespace tarvino
