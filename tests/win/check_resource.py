"""Reads the version resource, the icon, the manifest, the import table and
the hardening of the shipped build back from Tarvino.exe."""
import os
import struct
import sys
import xml.etree.ElementTree as ET

import pefile

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll",
    "advapi32.dll", "shell32.dll", "comctl32.dll", "ntdll.dll", "ucrtbase.dll",
}
EXPECTED_STRINGS = {
    "CompanyName": "Orlenda",
    "ProductName": "Tarvino 1.1",
    "FileVersion": "1.00.0001",
    "ProductVersion": "1.00.0001",
    "InternalName": "Tarvino",
    "OriginalFilename": "Tarvino.exe",
}

failures = []


def check(what, ok):
    print(("ok - " if ok else "not ok - ") + what)
    if not ok:
        failures.append(what)


pe = pefile.PE(sys.argv[1])
check("64-bit executable", pe.FILE_HEADER.Machine == 0x8664)
check("GUI subsystem", pe.OPTIONAL_HEADER.Subsystem == 2)

fixed = pe.VS_FIXEDFILEINFO[0]
check("FILEVERSION 1.0.0.1", (fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 0x1))
check("PRODUCTVERSION 1.0.0.1",
      (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x10000, 0x1))

tables = {}
translations = []
for info in pe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
    if info.Key == b"VarFileInfo":
        for var in info.Var:
            translations.append(var.entry.get(b"Translation"))
check("string table 040904B0 present", "040904B0" in {k.upper() for k in tables})
strings = next((v for k, v in tables.items() if k.upper() == "040904B0"), {})
for key, value in EXPECTED_STRINGS.items():
    check(f"{key} = {value!r} (saw {strings.get(key)!r})", strings.get(key) == value)
check(f"translation 0x0409 1200 (saw {translations})", "0x0409 0x04b0" in translations)

SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}

icons = {}
group = None
manifests = {}
for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    for name in entry.directory.entries:
        for lang in name.directory.entries:
            data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
            if entry.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"]:
                group = data
            elif entry.id == pefile.RESOURCE_TYPE["RT_ICON"]:
                icons[name.id] = data
            elif entry.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]:
                manifests[name.id] = data
check("an icon group", group is not None)
sizes = set()
if group:
    count = struct.unpack_from("<H", group, 4)[0]
    for i in range(count):
        w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        header = icons.get(icon_id, b"")
        depth = struct.unpack_from("<H", header, 14)[0] if len(header) >= 16 else None
        sizes.add((w or 256, h or 256, depth))
check(f"icon images 32x32 and 16x16 at 4 bits (saw {sorted(sizes)})",
      {(32, 32, 4), (16, 16, 4)} <= sizes)

check(f"an application manifest, RT_MANIFEST 1 (saw ids {sorted(manifests)})", 1 in manifests)
manifest = ET.fromstring(manifests.get(1, b"<assembly/>"))


def texts(tag):  # every element of that local name, whatever its namespace
    return [(e.text or "").strip() for e in manifest.iter() if e.tag.rsplit("}", 1)[-1] == tag]


def attributes(tag, attribute):
    return [e.get(attribute) for e in manifest.iter() if e.tag.rsplit("}", 1)[-1] == tag]


awareness = texts("dpiAwareness")
check(f"dpiAwareness asks PerMonitorV2 first (saw {awareness})",
      len(awareness) == 1 and awareness[0].replace(" ", "").split(",")[0] == "PerMonitorV2")
check(f"dpiAware true/pm for older systems (saw {texts('dpiAware')})", texts("dpiAware") == ["true/pm"])
supported = attributes("supportedOS", "Id")
for guid, system in SUPPORTED_OS.items():
    check(f"supportedOS {system}", guid in supported)
identity = [(e.get("name"), e.get("version")) for e in manifest.iter()
            if e.tag.rsplit("}", 1)[-1] == "assemblyIdentity"]
check(f"the manifest's identity is version 1.0.0.1 (saw {identity})",
      identity == [("Orlenda.Tarvino", "1.0.0.1")])
check(f"the manifest's description is 'Tarvino 1.1' (saw {texts('description')})",
      texts("description") == ["Tarvino 1.1"])
levels = attributes("requestedExecutionLevel", "level")
check(f"requestedExecutionLevel asInvoker (saw {levels})", levels == ["asInvoker"])

# What users download: hardened, without debug information, with no link time.
DLL_CHARACTERISTICS = {"HIGH_ENTROPY_VA": 0x20, "DYNAMIC_BASE": 0x40, "NX_COMPAT": 0x100}
for flag, bit in DLL_CHARACTERISTICS.items():
    check(flag, pe.OPTIONAL_HEADER.DllCharacteristics & bit)
data = open(sys.argv[1], "rb").read()


def section_name(section):  # "/N": a long name, at offset N of the COFF string table
    name = section.Name.rstrip(b"\0").decode()
    if not name.startswith("/"):
        return name
    table = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    start = table + int(name[1:])
    return data[start:data.index(b"\0", start)].decode()


debug = [n for n in map(section_name, pe.sections) if n.startswith((".debug", ".zdebug"))]
check(f"no debug sections (saw {debug})", not debug)
# About 470 KB with Debian 12's mingw-w64 and GCC 12, 520 KB with Debian 13's
# GCC 14; the static C++ library's debug information would make it 1.1 MB.
size = os.path.getsize(sys.argv[1])
check(f"at most 600 KB (saw {size // 1024} KB)", size <= 600 * 1024)
check(f"no link timestamp (saw {pe.FILE_HEADER.TimeDateStamp})", pe.FILE_HEADER.TimeDateStamp == 0)
# -fstack-protector links libssp's __stack_chk_fail, which says this.
check("stack protection", b"*** stack smashing detected ***" in data)

imports = sorted(d.dll.decode().lower() for d in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []))
foreign = [d for d in imports if d not in SYSTEM_DLLS and not d.startswith("api-ms-win-")]
check(f"imports only system DLLs (saw {imports})", not foreign)

print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)
