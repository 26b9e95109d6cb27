// 10^6 banner ticks through the real window code, offscreen: memory must not
// grow, and nothing allocated by a tick may outlive it. The window logic
// itself may allocate at most once a tick (the text it builds); what the Qt
// window allocates to show it differs by release (once a tick with Qt 6.4,
// four times with 6.8) and is only reported.

// The global operator new and delete are replaced below with malloc and free,
// which GCC 14 takes for a mismatch wherever it inlines them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

#include "cdriveinfo.h"
#include "fakes.h"
#include "qt_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>

namespace {

std::atomic<long long> allocations{0};
std::atomic<long long> frees{0};

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(256, '\n');
    }
    return -1;
}

} // namespace

// Counts every C++ allocation in the process, Qt's included.
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (p) ++frees;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    if (p) ++frees;
    std::free(p);
}

namespace {
class NoForm : public tarvino::Form {
public:
    void setText(tarvino::Control, std::string_view) override {}
    void unload() override {}
};
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long ticks = argc > 1 ? std::atol(argv[1]) : 1000000;

    tarvino::qt::QtForm form;
    form.timer1().stop(); // ticks are driven directly
    tarvino::testing::FakeDriveFactory drives;
    tarvino::CDriveInfo window(
        form, drives,
        std::make_unique<tarvino::testing::FakeSysInfo>(
            std::map<int, double>{{10, 4}, {11, 6.18}, {12, 44}}, drives.log),
        ".");
    window.Form_Load();
    form.show();
    auto* box = form.findChild<QLineEdit*>("labelStatus");

    const long warmUp = 10000; // a few full passes, so every cache is filled
    for (long i = 0; i < warmUp; ++i)
        window.Timer1_Timer();
    const long before = residentKiB();
    const long long allocatedBefore = allocations.load(), liveBefore = allocatedBefore - frees;
    for (long i = 0; i < ticks; ++i)
        window.Timer1_Timer();
    const long long perTickTimes100 = (allocations.load() - allocatedBefore) * 100 / ticks;
    const long long kept = allocations.load() - frees - liveBefore;
    const long after = residentKiB();

    // The window logic alone, writing into a window that keeps nothing.
    NoForm nowhere;
    tarvino::CDriveInfo logic(nowhere, drives,
                              std::make_unique<tarvino::testing::FakeSysInfo>(
                                  std::map<int, double>{{10, 4}, {11, 6.18}, {12, 44}}, drives.log),
                              ".");
    logic.Form_Load();
    logic.Timer1_Timer();
    const long long logicBefore = allocations.load();
    for (long i = 0; i < ticks / 10; ++i)
        logic.Timer1_Timer();
    const long long logicPerTickTimes100 = (allocations.load() - logicBefore) * 100 / (ticks / 10);

    const bool textOk =
        box->text().size() == static_cast<qsizetype>(window.finalStatus->size()) + 1 ||
        box->text().size() == static_cast<qsizetype>(window.finalStatus->size());
    std::printf("%ld ticks: RSS %ld KiB -> %ld KiB; %lld allocations kept; %lld.%02lld C++ "
                "allocations per tick, %lld.%02lld of them the window logic's\n",
                ticks, before, after, kept, perTickTimes100 / 100, perTickTimes100 % 100,
                logicPerTickTimes100 / 100, logicPerTickTimes100 % 100);
    const bool grew = after - before > 1024; // allow for the allocator's page-level noise
    const bool leaked = kept > 100;          // a tick's leak would be 10^6
    const bool tooMany = logicPerTickTimes100 > 100;
    const int failed = grew + leaked + tooMany + !textOk;
    std::printf("%d passed, %d failed\n", 4 - failed, failed);
    return failed != 0;
}
