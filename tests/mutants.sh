#!/usr/bin/env bash
# The mutation check, run by hand: each mutant below is one small fault put
# into the code, which the test named beside it must catch. The tree as it is
# checked out is copied to a scratch directory and built once (release); then
# each mutant is built there and its test run as an unprivileged user, as a
# user's test run would be. Where that test lets a mutant live, the release
# suite but the runs that need root is run too, to show what else would catch
# it. A mutant that lives, or does not apply, is listed and fails the script.
#
# Usage: tests/mutants.sh [NAME-REGEX]   (only the mutants whose test matches)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
only=${1:-}

# file|sed expression (no "|" in it)|the test that must kill it (a ctest regex)
mutants=$(cat <<'EOF'
platform/linux/linux_drive_service.cpp|s/fragmentSize != 0 ? fragmentSize : blockSize/blockSize != 0 ? blockSize : fragmentSize/|^Volumes\.
platform/linux/linux_drive_service.cpp|s/info.f_fsid.__val\[0\]/info.f_fsid.__val[1]/|^LinuxService\.DescribesThisMachinesRootAsDriveC$
platform/linux/drive_table.cpp|s/entry.fstype == "fuseblk"/entry.fstype == "fuseblk2"/|^Volumes\.
platform/linux/drive_table.cpp|s/entry.fstype.size() > 5) return entry.fstype.substr(5)/entry.fstype.size() > 5) return entry.fstype/|^Volumes\.
platform/linux/drive_table.cpp|s/{"cifs", "smbfs",/{"cifs2", "smbfs",/|^DriveType\.
platform/linux/drive_table.cpp|s/startsWith(fstype, "nfs")/startsWith(fstype, "nfs4")/|^DriveType\.
platform/linux/drive_table.cpp|s/{"fuse-overlayfs", "mergerfs",/{"fuse-overlayfs", "mergerfs2",/|^DriveType\.
platform/linux/drive_table.cpp|s/    return namesAHost(source);/    return namesAHost(source) \&\& false;/|^DriveType\.
platform/linux/drive_table.cpp|s/colon > 0 \&\&/colon > 1 \&\&/|^DriveType\.
platform/linux/drive_table.cpp|s/root = std::move(e); \/\/ the last one is on top/if (!root) root = std::move(e);/|^DriveLetters\.
platform/linux/drive_table.cpp|s/if (next > 'Z') break;/if (next > 'Y') break;/|^DriveLetters\.RunOutAtZ$
platform/linux/drive_table.cpp|s/return target == "\/boot" /return target == "\/boot2" /|^DriveLetters\.
platform/linux/drive_table.cpp|s/a.target < b.target/a.target > b.target/|^DriveLetters\.
platform/linux/drive_table.cpp|s/if (!lettered.insert(deviceKey(e)).second) continue;/lettered.insert(deviceKey(e));/|^DriveLetters\.
platform/linux/drive_table.cpp|s/mnt_optstr_get_option(options, "upperdir"/mnt_optstr_get_option(options, "lowerdir"/|^DriveLetters\.
platform/linux/drive_table.cpp|s/return flag == "1";/return flag != "0";/|^DriveType\.
platform/linux/drive_table.cpp|s/if (flag.empty()) flag = /if (false) flag = /|^DriveType\.
platform/linux/drive_table.cpp|s/all = all \&\& onRemovableDisks/all = onRemovableDisks/|^DriveType\.
platform/linux/drive_table.cpp|s/startsWith(e.source, "\/dev\/sr")) return 4;/startsWith(e.source, "\/dev\/sr")) return 2;/|^DriveType\.
platform/linux/drive_table.cpp|s/startsWith(e.source, "\/dev\/zram")/false/|^DriveType\.
platform/linux/drive_table.cpp|s/fs == "overlay" /fs == "overlay2" /|^DriveType\.
platform/linux/device_identity.cpp|s/{0x58465342, "xfs"}/{0x58465343, "xfs"}/|^Volumes\.
platform/linux/device_identity.cpp|s/{0x2FC12FC1, "zfs"}/{0x2FC12FC1, "zfs2"}/|^Volumes\.
platform/linux/device_identity.cpp|s/if (entry.device.major != 0) return entry.device;//|^DriveType\.TheBlockDeviceIsTheMountTablesNumberElseTheNodesOwn$
platform/linux/volume_serial.cpp|s/return littleEndian32(bytes, 0) ^ littleEndian32(bytes, 8);/return littleEndian32(bytes, 0);/|^VolumeSerial\.
platform/linux/volume_serial.cpp|s/substr(8));/substr(0, 8));/|^VolumeSerial\.
platform/linux/volume_serial.cpp|s/digits(uuid, {4}, 9)/digits(uuid, {5}, 9)/|^VolumeSerial\.
platform/linux/drive_paths.cpp|s/if (!parts.empty()) parts.pop_back();/if (!parts.empty()) {}/|^AbsolutePaths\.
platform/linux/drive_paths.cpp|s/mount.size() > bestDepth)/mount.size() < bestDepth)/|^AbsolutePaths\.
platform/linux/drive_paths.cpp|s/name.size() > 3) return std::nullopt;/name.size() > 4) return std::nullopt;/|^DriveNames\.|^LinuxService\.
platform/linux/linux_system_info.cpp|s/return static_cast<double>(k.patch);/return static_cast<double>(k.minor);/|^LinuxSystemInfo\.
platform/linux/linux_system_info.cpp|s/\*p != '.') break;/false) break;/|^LinuxSystemInfo\.
summary/number_text.cpp|s/std::nearbyint(value)/std::round(value)/|^NumberText\.
summary/number_text.cpp|s/if (value == 0.0f) return "0";//|^NumberText\.
summary/number_text.cpp|s/std::chars_format::general, 7/std::chars_format::general, 6/|^NumberText\.
summary/number_text.cpp|s/std::fabs(value) > std::numeric_limits<float>::max()/false/|^NumberText\.
summary/drive_summary.cpp|s/"Network", "CD-ROM",/"CD-ROM", "Network",/|^DriveLine\.
summary/drive_summary.cpp|s/std::uint64_t{drive->serialNumber()}/std::int64_t{static_cast<std::int32_t>(drive->serialNumber())}/|^SerialLine\.
ticker/ticker.cpp|s/piece(text, xs + 20, 20)/piece(text, xs + 20, 19)/|^Ticker\.
ticker/ticker.cpp|s/const bool wraps = xs > length/const bool wraps = xs >= length/|^Ticker\.
ticker/ticker.cpp|s/start == std::numeric_limits<std::int16_t>::max()/false/|^Ticker\.
ticker/ticker.cpp|s/\& 0xC0) != 0x80/\& 0xC0) != 0x40/|^Ticker\.
platform/qt/frame_extents.cpp|s/if (mapping \&\& \*frame == expected_) return;//|^end_to_end$
platform/qt/frame_extents.cpp|s/logical(v\[0\]), logical(v\[2\]), logical(v\[1\])/logical(v[0]), logical(v[1]), logical(v[2])/|^end_to_end$
platform/qt/desktop_font.cpp|s/if (a != '-') return false;/return false;/|^DesktopFont\.
platform/qt/desktop_font.cpp|s/{"Book", 380}/{"Book", 400}/|^DesktopFont\.
platform/qt/desktop_font.cpp|s/s.front() == '-' /s.front() == '~' /|^DesktopFont\.
platform/qt/plasma_look.cpp|s/line.substr(1, close - 1)/line.substr(1)/|^PlasmaLook\.
platform/qt/plasma_look.cpp|s/group == "General" \&\& key == "font"/key == "font"/|^PlasmaLook\.
platform/qt/desktop_font.cpp|s/if (!name \&\& desktopNamed({"GNOME"}))/if (false)/|^end_to_end$
app/main.cpp|s/qputenv("NO_AT_BRIDGE", "1");/(void)0;/|^screen_reader_bus$
EOF
)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
src=$scratch/src
mkdir "$src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard | tar --null -T - -c) | tar -x -C "$src"
build=$src/build/release
echo "# building the tree as it is, in $scratch"
(cmake -S "$src" --preset release -DTARVINO_BENCHMARKS=OFF && cmake --build "$build") \
    >"$scratch/build.log" 2>&1 || { tail -n 30 "$scratch/build.log"; exit 1; }
chmod -R a+rwX "$scratch"
# As the user who runs the script, or as nobody where that is root.
as_user=()
[ "$(id -u)" = 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/tmp)
# Root's only, or the time of a soak rather than a check.
needs_root='^(debian_package|desktops|devices_by_number|dead_mounts_untouched|endurance)$'
run_tests() { (cd "$build" && "${as_user[@]}" ctest --timeout 300 --output-on-failure "$@") >"$scratch/test.log" 2>&1; }
run_tests -E "$needs_root" ||
    { grep -E 'Failed|\*\*\*' "$scratch/test.log"; echo "not ok - the tree as it is fails its tests"; exit 1; }

killed=0 total=0 lives=()
while IFS='|' read -r file expression test; do
    [ -n "$file" ] || continue
    [ -z "$only" ] || [[ $test =~ $only ]] || continue
    total=$((total + 1))
    name="$file: $expression"
    cp "$src/$file" "$scratch/original"
    sed -i -e "$expression" "$src/$file"
    if cmp -s "$src/$file" "$scratch/original"; then
        echo "not ok - $name: does not apply"; lives+=("$name (does not apply)")
    elif ! cmake --build "$build" >"$scratch/build.log" 2>&1; then
        echo "not ok - $name: does not build"; lives+=("$name (does not build)")
    elif ! run_tests -R "$test"; then
        echo "ok - $name: killed by $test"; killed=$((killed + 1))
    elif ! run_tests -E "$needs_root"; then
        echo "not ok - $name: lives through $test; killed only by $(grep -oE '[0-9]+ - [^ ]+' "$scratch/test.log" | cut -d' ' -f3 | paste -sd ' ')"
        lives+=("$name (lives through $test)")
    else
        echo "not ok - $name: lives through every user's test"; lives+=("$name (lives)")
    fi
    cp "$scratch/original" "$src/$file"
done <<<"$mutants"
cmake --build "$build" >/dev/null 2>&1

for mutant in "${lives[@]}"; do echo "# living: $mutant"; done
echo "mutants: $killed of $total killed by their tests"
[ "$killed" = "$total" ]
