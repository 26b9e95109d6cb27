// 10^6 banner ticks through the real window code, offscreen: memory must not
// grow, and each tick may allocate at most once.

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
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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
    const long long allocatedBefore = allocations.load();
    for (long i = 0; i < ticks; ++i)
        window.Timer1_Timer();
    const long long perTickTimes100 = (allocations.load() - allocatedBefore) * 100 / ticks;
    const long after = residentKiB();

    const bool textOk =
        box->text().size() == static_cast<qsizetype>(window.finalStatus->size()) + 1 ||
        box->text().size() == static_cast<qsizetype>(window.finalStatus->size());
    std::printf("%ld ticks: RSS %ld KiB -> %ld KiB; %lld.%02lld C++ allocations per tick\n", ticks,
                before, after, perTickTimes100 / 100, perTickTimes100 % 100);
    const bool grew = after - before > 1024; // allow for the allocator's page-level noise
    const bool tooMany = perTickTimes100 > 100;
    std::printf("%d passed, %d failed\n", 3 - grew - tooMany - !textOk, grew + tooMany + !textOk);
    return grew || tooMany || !textOk;
}
