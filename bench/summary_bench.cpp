// The summary logic and its Linux providers, against the floor of the system
// calls they cannot avoid.
#include "cdriveinfo.h"
#include "drive_summary.h"
#include "linux_drive_service.h"
#include "linux_system_info.h"
#include "number_text.h"
#include "ticker.h"

#include <benchmark/benchmark.h>
#include <libmount.h>
#include <sys/statfs.h>
#include <sys/utsname.h>

namespace {

using namespace tarvino;

class NullForm : public Form {
public:
    std::size_t written = 0;
    void setText(Control, std::string_view text) override { written += text.size(); }
    void unload() override {}
};

void OneTick(benchmark::State& state) {
    NullForm form;
    linux_drives::LinuxDriveServiceFactory drives;
    CDriveInfo window(form, drives, std::make_unique<linux_drives::LinuxSystemInfo>(), ".");
    window.ShowDriveInfo("c:");
    for (auto _ : state)
        window.Timer1_Timer();
    benchmark::DoNotOptimize(form.written);
}
BENCHMARK(OneTick);

void ShowDriveInfoAndShowFreeSpace(benchmark::State& state) {
    NullForm form;
    linux_drives::LinuxDriveServiceFactory drives;
    CDriveInfo window(form, drives, std::make_unique<linux_drives::LinuxSystemInfo>(), ".");
    for (auto _ : state) {
        window.ShowDriveInfo("c:");
        window.ShowFreeSpace("c:");
    }
    benchmark::DoNotOptimize(form.written);
}
BENCHMARK(ShowDriveInfoAndShowFreeSpace)->Unit(benchmark::kMicrosecond);

// What any implementation must do: read the mount table, one statfs, uname.
void FloorMountTableStatfsUname(benchmark::State& state) {
    for (auto _ : state) {
        libmnt_table* table = mnt_new_table_from_file("/proc/self/mountinfo");
        struct statfs fs {};
        statfs("/", &fs);
        utsname names{};
        uname(&names);
        benchmark::DoNotOptimize(fs.f_blocks);
        benchmark::DoNotOptimize(names.release[0]);
        mnt_unref_table(table);
    }
}
BENCHMARK(FloorMountTableStatfsUname)->Unit(benchmark::kMicrosecond);

void NumberToText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(wholeToText(std::uint64_t{270553174016}));
        benchmark::DoNotOptimize(singleToText(toSingle(6.18, "version"), ","));
        benchmark::DoNotOptimize(toWhole32(19045.0, "build"));
    }
}
BENCHMARK(NumberToText);

} // namespace

BENCHMARK_MAIN();
