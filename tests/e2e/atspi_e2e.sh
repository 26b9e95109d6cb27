#!/usr/bin/env bash
# The real program on a private X server and a private D-Bus session, read
# over the AT-SPI bus by a screen-reader client. With "devices" after the
# program: read as a user without privileges, on real file systems mounted
# through a node that is not the kernel's name for the device (as LVM's
# /dev/mapper/<name>), each in turn the root of a private mount namespace;
# the values read must be the volume's. Exits 77 where that cannot be set up.
# With "same-as" and another program after it: the five lines must be the
# other program's, read the same way.
set -u
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
export TARVINO_PYTHON=${TARVINO_PYTHON:-python3} # the build's, which imports pyatspi
if ! command -v dbus-run-session >/dev/null || ! "$TARVINO_PYTHON" -c 'import pyatspi' 2>/dev/null; then
    echo "skip: needs dbus-run-session and python3-pyatspi"
    exit 77
fi
. "$here/xvfb.sh"
start_xvfb || exit 1
work=$(mktemp -d)
chmod 755 "$work"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; rm -rf "$work"' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Starts program $1 on a session bus of its own and reads it; the rest are
# the reader's arguments.
read_over_atspi() {
    dbus-run-session -- bash -c '
        "$1" 2>"$XDG_RUNTIME_DIR/stderr" &
        pid=$!
        shift
        "$TARVINO_PYTHON" "$@"
        status=$?
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        exit "$status"
    ' bash "$1" "$here/atspi_reader.py" "$(basename "$1")" "${@:2}"
}

case ${2:-} in
"") # with no desktop named, then under GNOME with Qt's GTK theme, whose GTK has a bridge of its own
    read_over_atspi "$program" || failed=1
    echo "# under GNOME, with Qt's GTK theme"
    XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORMTHEME=gtk3 read_over_atspi "$program" || failed=1
    exit "${failed:-0}" ;;
same-as) # the five lines of the program $3, as expectations of this one
    read_over_atspi "$3" --print "$work/lines" >/dev/null || { echo "not ok - $3 could not be read"; exit 1; }
    mapfile -t lines <"$work/lines"
    echo "# $3 reads: ${lines[*]}"
    read_over_atspi "$program" "${lines[@]}"
    exit ;;
esac

needed=(unshare losetup mknod chroot setpriv udevadm mkfs.xfs mkfs.btrfs mkntfs ntfslabel ntfs-3g
    fuse-overlayfs)
udevd=/lib/systemd/systemd-udevd
for tool in "${needed[@]}"; do command -v "$tool" >/dev/null || missing="${missing:-} $tool"; done
[ -x "$udevd" ] || missing="${missing:-} systemd-udevd"
if [ "$(id -u)" != 0 ] || [ -n "${missing:-}" ] || ! unshare --mount true 2>/dev/null; then
    echo "skip - devices under other names: needs root, mount namespaces and${missing:- nothing else}"
    exit 77
fi

# In a mount namespace of its own: a /dev holding the node, a private udevd
# that records the device (its links land in that /dev), the file system
# mounted through the node and made the root, and the program run there as
# nobody. $1 the image, $2 the mount's type, then the reader's expectations,
# where @SIZE@ stands for the volume's size and @FSID@ for its statfs id as a
# serial. With shape=plain the root is a plain directory on the volume, as in
# a debootstrap chroot, so that no mount holds it; with shape=plain-no-udev,
# the udev record is not to be seen there either; with shape=plain-blkid, no
# udev record but a device node the user may read.
as_root_of() {
    local image=$1 type=$2 loop number
    shift 2
    loop=$(losetup -f --show "$image") || { echo "skip - no free loop device"; return 77; }
    number=$(cat "/sys/class/block/${loop#/dev/}/dev")
    unshare --mount --propagation private bash -c '
        set -e
        work=$1 kernel_name=$2 number=$3 type=$4 udevd=$5 project=$6 program=$7 shape=$8
        shift 8
        dev=$work/dev root=$work/root
        mkdir -p "$dev" "$root"
        mount -t tmpfs -o mode=755 tmpfs "$dev"
        for node in null zero full random urandom tty fuse kmsg; do
            : >"$dev/$node"
            mount --bind "/dev/$node" "$dev/$node"
        done
        # The node under the kernel name, which udevd probes, and the other name.
        mkdir "$dev/mapper"
        mknod -m 600 "$dev/$kernel_name" b "${number%:*}" "${number#*:}"
        mknod -m 600 "$dev/mapper/tarvino-c" b "${number%:*}" "${number#*:}"
        mount --rbind "$dev" /dev
        mount -t tmpfs tmpfs /run
        mkdir /run/udev
        "$udevd" 2>/dev/null &
        udevd_pid=$!
        for _ in $(seq 50); do udevadm control --ping 2>/dev/null && break; sleep 0.1; done
        timeout 30 udevadm trigger --action=add --settle "/sys/dev/block/$number" || true
        # Under load, udevd has been seen to let "udevadm control --exit" pass
        # unheeded; a signal it does not miss.
        kill "$udevd_pid" 2>/dev/null || true
        wait "$udevd_pid" || true
        # Readable by all, as a stick a desktop gave its user: libblkid can
        # probe it. Set after udevd, whose rules give the node to group disk.
        [ "$shape" != plain-blkid ] || chmod 644 "$dev/$kernel_name" "$dev/mapper/tarvino-c"
        if ! grep -q "^E:ID_FS_UUID=" "/run/udev/data/b$number" 2>/dev/null; then
            echo "skip - $type: udevd kept no record of the device"
            exit 77
        fi
        mount -t "$type" /dev/mapper/tarvino-c "$root"
        size=$(($(stat -f -c "%b*%S" "$root")))
        fsid=$(((0x$(stat -f -c %i "$root") >> 32) & 0xFFFFFFFF))
        set -- "${@//@SIZE@/$size}"
        set -- "${@//@FSID@/$fsid}"
        top=$root
        [ "$shape" = mount ] || top=$root/plain
        udev_data=run/udev
        case $shape in plain-no-udev | plain-blkid) udev_data= ;; esac
        for dir in usr bin lib lib64 sbin etc var proc sys tmp $udev_data "$project"; do
            [ -e "/$dir" ] || continue
            mkdir -p "$top/$dir"
            mount --bind "/$dir" "$top/$dir"
        done
        mkdir -p "$top/dev"
        mount --rbind /dev "$top/dev"
        runtime=$work/nobody # the same path inside, where /tmp is this /tmp
        mkdir -m 700 "$runtime"
        chown 65534:65534 "$runtime"
        status=0
        chroot "$top" setpriv --reuid=65534 --regid=65534 --clear-groups \
            env -i PATH=/usr/bin:/bin HOME=/tmp DISPLAY="$DISPLAY" \
            XDG_RUNTIME_DIR="$runtime" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
            DBUS_SESSION_BUS_ADDRESS= ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
            LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
            dbus-run-session -- bash -c "
                \"$program\" 2>\"$runtime/stderr\" &
                pid=\$!
                python3 \"$project/tests/e2e/atspi_reader.py\" tarvino \"\$@\"
                status=\$?
                kill \$pid 2>/dev/null; wait \$pid 2>/dev/null
                [ \$status = 0 ] || sed \"s/^/  stderr: /\" \"$runtime/stderr\"
                exit \$status" bash "$@" || status=$?
        rm -rf "$runtime"
        # The session bus ends before the services it started; wait for them.
        for _ in $(seq 25); do umount -R "$root" 2>/dev/null && break; sleep 0.2; done
        umount -R -l "$root" 2>/dev/null || true
        exit "$status"
    ' bash "$work" "${loop#/dev/}" "$number" "$type" "$udevd" "$project" "$program" \
        "${shape:-mount}" "$@"
    local status=$?
    losetup -d "$loop"
    return "$status"
}

# A container's root as Podman makes it: fuse-overlayfs over a plain
# directory, mounted by root (rootful) or, with $1 = user, by nobody, through
# fusermount3 as any user mounts FUSE, with allow_other, which the private
# /etc/fuse.conf grants as a desktop's may (rootless Podman mounts it in a
# user namespace, which a chroot cannot have). The program runs there as
# nobody. The rest are the reader's expectations, @SIZE@ and @FSID@ as above.
on_fuse_overlayfs() {
    local who=$1 layers=$work/layers-$1
    shift
    mkdir -p "$layers"/{lower,upper,work,merged}
    [ "$who" = user ] && chown -R 65534:65534 "$layers"
    unshare --mount --propagation private bash -c '
        set -e
        work=$1 layers=$2 who=$3 project=$4 program=$5
        shift 5
        dev=$work/dev-fuse runtime=$work/nobody-fuse
        mkdir -p "$dev"
        mount -t tmpfs -o mode=755 tmpfs "$dev"
        for node in null zero full random urandom tty; do
            : >"$dev/$node"
            mount --bind "/dev/$node" "$dev/$node"
        done
        mknod -m 666 "$dev/fuse" c 10 229 # open to all, as a desktop has it
        mount --rbind "$dev" /dev
        echo user_allow_other >"$work/fuse.conf"
        mount --bind "$work/fuse.conf" /etc/fuse.conf
        # The mount points come in the image, as a container image has them.
        for dir in usr bin lib lib64 sbin etc var proc sys tmp dev "$project"; do
            [ -e "/$dir" ] && mkdir -p "$layers/lower/$dir"
        done
        mount_as=()
        [ "$who" = user ] && mount_as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
        "${mount_as[@]}" fuse-overlayfs -o allow_other \
            -o "lowerdir=$layers/lower,upperdir=$layers/upper,workdir=$layers/work" "$layers/merged"
        size=$(($(stat -f -c "%b*%S" "$layers/merged")))
        fsid=$(((0x$(stat -f -c %i "$layers/merged") >> 32) & 0xFFFFFFFF))
        set -- "${@//@SIZE@/$size}"
        set -- "${@//@FSID@/$fsid}"
        for dir in usr bin lib lib64 sbin etc var proc sys tmp "$project"; do
            [ -e "/$dir" ] && mount --rbind "/$dir" "$layers/merged/$dir"
        done
        mount --rbind "$dev" "$layers/merged/dev"
        mkdir -m 700 "$runtime"
        chown 65534:65534 "$runtime"
        status=0
        chroot "$layers/merged" setpriv --reuid=65534 --regid=65534 --clear-groups \
            env -i PATH=/usr/bin:/bin HOME=/tmp DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$runtime" \
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 DBUS_SESSION_BUS_ADDRESS= \
            ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" \
            UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" dbus-run-session -- bash -c "
                \"$program\" 2>\"$runtime/stderr\" &
                pid=\$!
                python3 \"$project/tests/e2e/atspi_reader.py\" tarvino \"\$@\"
                status=\$?
                kill \$pid 2>/dev/null; wait \$pid 2>/dev/null
                [ \$status = 0 ] || sed \"s/^/  stderr: /\" \"$runtime/stderr\"
                exit \$status" bash "$@" || status=$?
        rm -rf "$runtime"
        exit "$status"
    ' bash "$work" "$layers" "$who" "$project" "$program" "$@"
    local status=$?
    rm -rf "$layers"
    return "$status"
}

failures=0 skipped=0
tally() { # the status of one case
    case $1 in 0) ;; 77) skipped=$((skipped + 1)) ;; *) failures=$((failures + 1)) ;; esac
}
made() { # the status of making a volume
    [ "$1" = 0 ] || { echo "not ok - $2 could not be made"; exit 1; }
}
# The kernel folds a UUID into statfs's f_fsid as it does ext4's, from bytes
# 0-3 and 8-11 only: every volume made here has this serial. Bytes 12-15 are
# new for each volume, as mkfs.btrfs refuses a UUID that any device still
# has: the last case's, whose loop device may outlive it, or another run's.
new_uuid() { echo "3f1c2a9e-7d4b-4e0a-9c21-5b8e$(od -An -N4 -tx1 /dev/urandom | tr -d ' \n')"; }
serial="SN. 275856803"
# Each XFS case has a volume of its own, with a UUID of its own: an earlier
# case's, unmounted lazily, may still be held, and is never mounted again.
xfs_volume() {
    rm -f "$work/xfs.img"
    truncate -s 320M "$work/xfs.img"
    mkfs.xfs -q -m uuid="$(new_uuid)" "$work/xfs.img"
    made $? XFS
}
xfs_volume
echo "# XFS, whose f_fsid is the device number"
as_root_of "$work/xfs.img" xfs "Volume serial number=$serial" "File system=FS. xfs" \
    "Drive type and letter=Fixed C:"
tally $?
xfs_volume
echo "# XFS, the root a plain directory on it: drive C is the volume, by its device"
shape=plain as_root_of "$work/xfs.img" xfs "Volume serial number=$serial" "File system=FS. xfs" \
    "Drive type and letter=Fixed C:" "Total size in bytes=TS. @SIZE@"
tally $?
xfs_volume
echo "# with no udev record, from the device itself where the user may read it"
shape=plain-blkid as_root_of "$work/xfs.img" xfs "Volume serial number=$serial" \
    "File system=FS. xfs" "Drive type and letter=Fixed C:" "Total size in bytes=TS. @SIZE@"
tally $?
xfs_volume
echo "# and where neither udev nor the device can tell: its statfs id and magic number"
shape=plain-no-udev as_root_of "$work/xfs.img" xfs "Volume serial number=SN. @FSID@" \
    "File system=FS. xfs" "Drive type and letter=Fixed C:" "Total size in bytes=TS. @SIZE@"
tally $?
rm -f "$work/xfs.img"

truncate -s 128M "$work/btrfs.img"
mkfs.btrfs -q -U "$(new_uuid)" "$work/btrfs.img" >/dev/null
made $? btrfs
echo "# btrfs, whose mount-table number is anonymous"
as_root_of "$work/btrfs.img" btrfs "Volume serial number=$serial" "File system=FS. btrfs"
tally $?
rm -f "$work/btrfs.img"

truncate -s 16M "$work/ntfs.img"
mkntfs -q -F -Q "$work/ntfs.img" >/dev/null 2>&1
ntfslabel -q --new-serial=0123456789ABCDEF "$work/ntfs.img" >/dev/null
made $? NTFS
echo "# NTFS through ntfs-3g, a fuseblk mount"
as_root_of "$work/ntfs.img" ntfs-3g "Volume serial number=SN. $((0x89ABCDEF))" \
    "File system=FS. ntfs"
tally $?
for who in root user; do
    echo "# a Podman root through fuse-overlayfs, mounted by $who"
    on_fuse_overlayfs "$who" "Drive type and letter=Fixed C:" "File system=FS. fuse-overlayfs" \
        "Volume serial number=SN. @FSID@" "Total size in bytes=TS. @SIZE@"
    tally $?
done
[ "$failures" -gt 0 ] && exit 1
[ "$skipped" -gt 0 ] && exit 77
exit 0
