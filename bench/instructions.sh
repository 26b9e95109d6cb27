#!/usr/bin/env bash
# Instructions from exec to the first frame, the program against the bare
# window, counted by callgrind on a private Xvfb: unlike the clock, the count
# hardly moves with what else the machine is doing, so it shows where the
# program's start costs more. The count ends at the first flush of the window
# to the screen. Ticks of the 200 ms timer that fall before it (the start runs
# some 50 times slower under valgrind) are taken out of both.
#   bench/instructions.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
command -v valgrind >/dev/null || { echo "bench: needs valgrind" >&2; exit 1; }
. "$root/tests/e2e/xvfb.sh"
start_xvfb
out=$(mktemp -d)
export XDG_RUNTIME_DIR=$out
fc-cache -f >/dev/null

# Counts one program to its first flush; prints the annotated inclusive costs.
count() {
    valgrind --tool=callgrind --callgrind-out-file="$out/$1.%p" \
        --dump-after='QBackingStore::flush*' "$2" >/dev/null 2>"$out/$1.log" &
    local pid=$! dump
    for _ in $(seq 600); do
        dump=$(ls "$out/$1".*.1 2>/dev/null || true)
        [ -n "$dump" ] && grep -q '^totals:' "$dump" && break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    [ -n "$dump" ] || { echo "bench: $1 drew no frame under valgrind" >&2; exit 1; }
    callgrind_annotate --inclusive=yes --threshold=100 "$dump" >"$out/$1.txt"
}
count tarvino "$build/app/tarvino"
count bare "$build/bench/bare_window"

echo "machine: Debian $(cat /etc/debian_version), Qt $(pkg-config --modversion Qt6Core), $(uname -m)"
echo "instructions to the first frame, in millions, ticks before it taken out:"
python3 - "$out/tarvino.txt" "$out/bare.txt" <<'EOF'
import re, sys

def costs(path):
    found = {}
    for line in open(path):
        m = re.match(r'\s*([\d,]+) \(.*?\)\s+(.*)$', line)
        if m:
            found.setdefault(m.group(2), int(m.group(1).replace(',', '')))
    return found

def part(found, name):  # a function's inclusive cost, by its name's start
    return max([v for k, v in found.items()
                if k.split(' [')[0].partition(':')[2].startswith(name)], default=0)

rows = [  # what, the function whose inclusive cost it is
    ('dynamic loading, exec to main', '_dl_start'),
    ('reading drive C and the system (Form_Load)', 'tarvino::CDriveInfo::Form_Load('),
    ('fitting the values to their column', 'tarvino::qt::QtForm::fitValues('),
    ('painting, to the first flush', 'QWidgetRepaintManager::paintAndFlush('),
]
tarvino, bare = costs(sys.argv[1]), costs(sys.argv[2])
total = {n: f['PROGRAM TOTALS'] - part(f, 'QTimer::timerEvent(') for n, f in
         (('tarvino', tarvino), ('bare', bare))}
print('%-46s %9s %9s %9s' % ('', 'Tarvino', 'bare', 'more'))
for what, name in rows:
    t, b = part(tarvino, name) / 1e6, part(bare, name) / 1e6
    print('%-46s %9.2f %9.2f %+9.2f' % (what, t, b, t - b))
t, b = total['tarvino'] / 1e6, total['bare'] / 1e6
print('%-46s %9.2f %9.2f %+9.2f (ratio %.3f)' % ('in all', t, b, t - b, t / b))
EOF
rm -rf "$out"
