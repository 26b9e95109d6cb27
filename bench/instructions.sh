#!/usr/bin/env bash
# Instructions from exec to the first frame, the program against the bare
# window, counted by callgrind on a private Xvfb: unlike the clock, the count
# hardly moves with what else the machine is doing, so it shows where the
# program's start costs more. The count ends at the first flush of the window
# to the screen. Ticks of the 200 ms timer that fall before it (the start runs
# some 50 times slower under valgrind) are taken out of both. With "plasma",
# the program under KDE Plasma's session (bench/sessions.sh's, as the startup
# bench makes it)
# against the program with no desktop named.
#   bench/instructions.sh [BUILD_DIR] [plasma]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
against=${2:-bare}
command -v valgrind >/dev/null || { echo "bench: needs valgrind" >&2; exit 1; }
. "$root/tests/e2e/xvfb.sh"
start_xvfb
out=$(mktemp -d)
export XDG_RUNTIME_DIR=$out
fc-cache -f >/dev/null

# Counts one program to its first flush, in the environment given after it;
# writes the annotated inclusive costs.
count() {
    local name=$1 program=$2
    shift 2
    env "$@" valgrind --tool=callgrind --callgrind-out-file="$out/$name.%p" \
        --dump-after='QBackingStore::flush*' "$program" >/dev/null 2>"$out/$name.log" &
    local pid=$! dump
    for _ in $(seq 600); do
        dump=$(ls "$out/$name".*.1 2>/dev/null || true)
        [ -n "$dump" ] && grep -q '^totals:' "$dump" && break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    [ -n "$dump" ] || { echo "bench: $name drew no frame under valgrind" >&2; exit 1; }
    callgrind_annotate --inclusive=yes --threshold=100 "$dump" >"$out/$name.txt"
}
if [ "$against" = plasma ]; then
    . "$root/bench/sessions.sh"
    plasma_session "$out/kde"
    # The session's assignments, split into words on purpose.
    count tarvino "$build/app/tarvino" $PLASMA_SESSION
    count bare "$build/app/tarvino"
else
    count tarvino "$build/app/tarvino"
    count bare "$build/bench/bare_window"
fi

echo "machine: Debian $(cat /etc/debian_version), Qt $(pkg-config --modversion Qt6Core), $(uname -m)"
echo "instructions to the first frame, in millions, ticks before it taken out:"
python3 - "$out/tarvino.txt" "$out/bare.txt" "$against" <<'EOF'
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
] if sys.argv[3] == 'bare' else [
    ('the loader\'s relocations, all of them', '_dl_relocate_object'),
    ('making the Breeze style, its plugin loaded', 'QStyleFactory::create('),
    ('KDE\'s icon loader', 'KIconLoader::global('),
    ('KDE\'s colour scheme', 'KColorScheme::KColorScheme('),
    ('KConfig reading its files', 'KConfig::reparseConfiguration('),
]
names = ('Tarvino', 'bare') if sys.argv[3] == 'bare' else ('Plasma', 'none')
tarvino, bare = costs(sys.argv[1]), costs(sys.argv[2])
total = {n: f['PROGRAM TOTALS'] - part(f, 'QTimer::timerEvent(') for n, f in
         (('tarvino', tarvino), ('bare', bare))}
print('%-46s %9s %9s %9s' % ('', *names, 'more'))
for what, name in rows:
    t, b = part(tarvino, name) / 1e6, part(bare, name) / 1e6
    print('%-46s %9.2f %9.2f %+9.2f' % (what, t, b, t - b))
t, b = total['tarvino'] / 1e6, total['bare'] / 1e6
print('%-46s %9.2f %9.2f %+9.2f (ratio %.3f)' % ('in all', t, b, t - b, t / b))
EOF
rm -rf "$out"
