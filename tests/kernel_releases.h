#pragma once

// Kernel releases as distributions and boards name them, and the version and
// build the OS line shows for each; the live tests look this machine's up.

#include <cstdint>
#include <cstring>
#include <link.h> // ElfW
#include <optional>
#include <string>
#include <string_view>
#include <sys/auxv.h>

namespace tarvino::testing {

struct KernelReleaseCase {
    const char* release;
    const char* version; // as the OS line shows it, with a point
    std::int32_t build;
};

inline constexpr KernelReleaseCase kernelReleases[] = {
    {"6.6.31+rpt-rpi-v8", "6.6", 31},    // Raspberry Pi OS
    {"6.8.0+", "6.8", 0},                // a kernel built from a tree with changes
    {"6.12.48+deb13-amd64", "6.12", 48}, // Debian 13
    {"5.15.0-91-generic", "5.15", 0},    // Ubuntu 22.04: its own ABI number, not the patch
    {"6.1.0-28-amd64", "6.1", 0},        // Debian 12: likewise
    {"4.19.0", "4.19", 0},
    {"6.18.44-fc-v1300", "6.18", 44},
    {"6.18.44-fc-v1272", "6.18", 44},
    {"6.10", "6.1", 0}, // the known limit: a single-precision version has no trailing zero
    {"6.18-rc3", "6.18", 0},
    {"5.4.290-1.el8.elrepo.x86_64", "5.4", 290},
};

// The running kernel's own version code (major << 16 | minor << 8 | patch,
// the patch at most 255), from the note in the vDSO the kernel maps into
// every process; nothing where there is none, as under user-mode emulation.
inline std::optional<std::uint32_t> kernelVersionCode() {
    const auto* base = reinterpret_cast<const unsigned char*>(getauxval(AT_SYSINFO_EHDR));
    if (!base) return std::nullopt;
    const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(base);
    const auto* segments = reinterpret_cast<const ElfW(Phdr)*>(base + header->e_phoff);
    const auto aligned = [](std::size_t n) { return (n + 3) & ~std::size_t{3}; };
    for (int i = 0; i < header->e_phnum; ++i) {
        if (segments[i].p_type != PT_NOTE) continue;
        const unsigned char* p = base + segments[i].p_offset;
        const unsigned char* const end = p + segments[i].p_filesz;
        while (p + sizeof(ElfW(Nhdr)) <= end) {
            const auto* note = reinterpret_cast<const ElfW(Nhdr)*>(p);
            const unsigned char* name = p + sizeof(ElfW(Nhdr));
            const unsigned char* desc = name + aligned(note->n_namesz);
            if (note->n_type == 0 && note->n_namesz == 6 && std::memcmp(name, "Linux", 6) == 0) {
                std::uint32_t code = 0;
                std::memcpy(&code, desc, sizeof code);
                return code;
            }
            p = desc + aligned(note->n_descsz);
        }
    }
    return std::nullopt;
}

// What the OS line must show for a release: the table's row; else, for this
// machine's own release, the version from the kernel's code, and no build,
// which distributions often leave out of the release (6.1.0-28 is 6.1.119).
// Nothing when neither tells.
struct ExpectedVersion {
    std::string version;
    std::optional<std::int32_t> build;
};
inline std::optional<ExpectedVersion> expectedVersion(std::string_view release, bool running) {
    for (const auto& k : kernelReleases)
        if (release == k.release) return ExpectedVersion{k.version, k.build};
    if (!running) return std::nullopt;
    const auto code = kernelVersionCode();
    if (!code) return std::nullopt;
    return ExpectedVersion{std::to_string(*code >> 16) + "." + std::to_string((*code >> 8) & 0xFF),
                           std::nullopt};
}

} // namespace tarvino::testing
