// The late-bound file-system object and the system services, for real, under Wine.

#include "dispatch.h"
#include "drive_summary.h"
#include "fakes.h"
#include "fso_drive_service.h"
#include "number_text.h"
#include "variant_value.h"
#include "win_system_info.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace tarvino::win32 {
namespace {

VARIANT made(VARTYPE type, const std::function<void(VARIANT&)>& set) {
    VARIANT v;
    VariantInit(&v);
    set(v);
    v.vt = type; // last: a DECIMAL's first bytes are vt's
    return v;
}
VARIANT i4(LONG x) {
    return made(VT_I4, [x](VARIANT& v) { v.lVal = x; });
}
VARIANT r8(double x) {
    return made(VT_R8, [x](VARIANT& v) { v.dblVal = x; });
}
VARIANT text(BSTR x) {
    return made(VT_BSTR, [x](VARIANT& v) { v.bstrVal = x; });
}
VARIANT decimal(ULONGLONG low, ULONG high, BYTE scale, BYTE sign) {
    return made(VT_DECIMAL, [=](VARIANT& v) {
        v.decVal.Lo64 = low;
        v.decVal.Hi32 = high;
        v.decVal.scale = scale;
        v.decVal.sign = sign;
    });
}

// Every type the file-system object may hand back for the drive's values,
// and the text each must come to on its line; nothing where it must fail.
TEST(FsoValues, EachTypeGivesItsLinesText) {
    using Line = std::function<std::string(const VARIANT&)>;
    const Line serial = [](const VARIANT& v) {
        return wholeToText(std::uint64_t{toSerial(v, "")});
    };
    const Line size = [](const VARIANT& v) { return wholeToText(toByteCount(v, "")); };
    const Line type = [](const VARIANT& v) { return wholeToText(std::int64_t{toInt32(v, "")}); };
    const Line name = [](const VARIANT& v) { return toText(v, ""); };
    BSTR ntfs = SysAllocString(L"NTFS");
    const struct {
        const char* what;
        const Line& line;
        VARIANT value;
        std::optional<std::string> expected;
    } cases[] = {
        {"serial I4", serial, i4(2118693585), "2118693585"},
        {"serial I4 < 0", serial, i4(-1), "4294967295"},
        {"serial UI4", serial, made(VT_UI4, [](VARIANT& v) { v.ulVal = 4294967295u; }),
         "4294967295"},
        {"serial R8 < 0", serial, r8(-2147483648.0), "2147483648"},
        {"serial R8", serial, r8(4294967295.0), "4294967295"},
        {"serial R8 past 32 bits", serial, r8(4294967296.0), std::nullopt},
        {"serial R8 fraction", serial, r8(1.5), std::nullopt},
        {"serial text", serial, text(ntfs), std::nullopt},
        {"size I4", size, i4(0), "0"},
        {"size I4 < 0", size, i4(-1), std::nullopt},
        {"size R8", size, r8(270553174016.0), "270553174016"},
        {"size R8 < 0", size, r8(-4096.0), std::nullopt},
        {"size R8 fraction", size, r8(4096.5), std::nullopt},
        {"size R8 past 64 bits", size, r8(2e19), std::nullopt},
        {"size I8", size, made(VT_I8, [](VARIANT& v) { v.llVal = 18000207937536; }),
         "18000207937536"},
        {"size I8 < 0", size, made(VT_I8, [](VARIANT& v) { v.llVal = -5; }), std::nullopt},
        {"size UI8", size, made(VT_UI8, [](VARIANT& v) { v.ullVal = ~0ull; }),
         "18446744073709551615"},
        {"size DECIMAL", size, decimal(270553174016u, 0, 0, 0), "270553174016"},
        {"size DECIMAL < 0", size, decimal(4096, 0, 0, DECIMAL_NEG), std::nullopt},
        {"size DECIMAL scaled", size, decimal(409650, 0, 2, 0), std::nullopt},
        {"size DECIMAL past 64 bits", size, decimal(0, 1, 0, 0), std::nullopt},
        {"type I2", type, made(VT_I2, [](VARIANT& v) { v.iVal = 2; }), "2"},
        {"type I4", type, i4(3), "3"},
        {"type UI1", type, made(VT_UI1, [](VARIANT& v) { v.bVal = 4; }), "4"},
        {"type R8", type, r8(2.0), std::nullopt},
        {"name", name, text(ntfs), "NTFS"},
        {"name null", name, text(nullptr), ""},
        {"name I4", name, i4(1), std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.expected) {
            EXPECT_EQ(c.line(c.value), *c.expected) << c.what;
            continue;
        }
        try {
            c.line(c.value);
            ADD_FAILURE() << c.what << ": no failure";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("unexpected value"), std::string::npos) << c.what;
        }
    }
    SysFreeString(ntfs);
}

class Fso : public ::testing::Test {
protected:
    ComApartment com;
    FsoDriveServiceFactory factory;
};

TEST_F(Fso, DescribesDriveC) {
    const auto fso = factory.create();
    const auto drive = fso->getDrive(fso->getDriveName(fso->getAbsolutePathName("c:")));
    EXPECT_EQ(drive->driveType(), 2);
    EXPECT_EQ(drive->driveLetter(), "C");
    EXPECT_FALSE(drive->fileSystem().empty());
    EXPECT_GT(drive->totalSize(), 0u);
}

TEST_F(Fso, FailsOnAMissingDriveNamingIt) {
    const auto fso = factory.create();
    for (const char* name : {"q:", ""}) {
        try {
            fso->getDrive(name);
            ADD_FAILURE() << "no failure for " << name;
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("GetDrive(\"" + std::string(name) + "\")"), std::string::npos)
                << what;
            EXPECT_NE(what.find("0x8"), std::string::npos) << what;
        }
    }
}

TEST_F(Fso, ResolvesTheWorkingDirectorysDrive) {
    const auto fso = factory.create();
    wchar_t cwd[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, cwd), 2u);
    const std::string here = fso->getAbsolutePathName(".");
    ASSERT_GE(here.size(), 2u);
    EXPECT_EQ(here[0], static_cast<char>(cwd[0]));
    EXPECT_EQ(fso->getDriveName(here), here.substr(0, 2));
    EXPECT_EQ(fso->getDriveName("docs\\x"), "");
}

TEST_F(Fso, TheDriveSummaryShowsTheSerialUnsigned) {
    const char* expected = std::getenv("TARVINO_EXPECT_SERIAL");
    if (!expected) GTEST_SKIP() << "run by the serial test, which sets the volume serial";
    testing::FakeWindow window;
    std::optional<std::int16_t> xs;
    std::optional<std::string> banner;
    showDriveInfo(factory, window, "c:", xs, banner);
    EXPECT_EQ(window.texts[Control::LabelDriveName], "Fixed C:");
    EXPECT_EQ(window.texts[Control::LabelDriveSerialNumber], std::string("SN. ") + expected);
}

TEST(WinSystemInfo, ReportsPlatformVersionAndBuild) {
    WinSystemInfo sys;
    EXPECT_EQ(sys.property(10), 2); // VER_PLATFORM_WIN32_NT
    EXPECT_GE(sys.property(11), 5);
    EXPECT_GT(sys.property(12), 0);
    EXPECT_THROW(sys.property(13), std::runtime_error);
    EXPECT_FALSE(userDecimalSeparator().empty());
}

} // namespace
} // namespace tarvino::win32
