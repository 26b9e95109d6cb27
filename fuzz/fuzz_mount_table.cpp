// Arbitrary mount-table text, parsed by libmount from memory, lettered and classified.
#include "drive_table.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <libmount.h>
#include <set>

using namespace tarvino::linux_drives;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FILE* stream = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    if (!stream) return 0;
    libmnt_table* table = mnt_new_table();
    if (mnt_table_parse_stream(table, stream, "fuzz") == 0) {
        const DriveTable drives = letterDrives(*table);
        if (drives.size() > 24) std::abort();
        std::set<char> letters;
        char previous = 0;
        for (const DriveEntry& d : drives) {
            if (d.letter < 'C' || d.letter > 'Z' || d.letter <= previous) std::abort();
            previous = d.letter;
            const auto device = d.device.major != 0 ? std::optional(d.device) : std::nullopt;
            const std::int32_t type = classifyDrive(d, device, "/nonexistent-sysfs");
            if (type < 0 || type > 5) std::abort();
        }
    }
    mnt_unref_table(table);
    std::fclose(stream);
    return 0;
}
