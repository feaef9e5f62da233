#!/usr/bin/env bash
# Benchmarks under Wine: listing and sorting of large folders in the real window, writing the
# times of many files (the time tools' and the editor's cores, and Edit File Params in the window,
# against a bare loop of the same writes), Times From Content, Save and Restore Times, and a shown
# folder of 100,000 entries taking 10,000 new files from another program. It ends with one table:
# every figure that has a goal, beside its goal, met or not.
#   bash scripts/bench.sh [count ...]      (default: 10000 100000 1000000)
# Every folder a bench uses is made first, on the host (far faster than through Wine), and kept in
# $PW_BENCH_FOLDER (default /tmp/pathwick-bench) for later runs; what was made is written back to
# the disk before the first timing. The prefix is $PW_BENCH_PREFIX (default
# /tmp/pathwick-bench-prefix), made when missing and left to finish its set-up.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$PW_ROOT"

pw_install_deps
pw_build_win --target listing_bench --target edit_bench --target watch_bench --target content_bench \
             --target saved_bench --target pw_show

counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(10000 100000 1000000)
folder=${PW_BENCH_FOLDER:-/tmp/pathwick-bench}
in="Z:${folder//\//\\}"
mkdir -p "$folder"

# ---- Every folder, before any bench uses one ----

# The listed folders: empty files with a mix of extensions, one sub-folder per thousand entries.
python3 - "$folder" "${counts[@]}" <<'PY'
import os, sys
root = sys.argv[1]
exts = [".txt", ".doc", ".jpg", ".cpp", ".h", ".log", ".dat", ".xml", "", ".tar.gz"]
for count in map(int, sys.argv[2:]):
    d = os.path.join(root, "bench%d" % count)
    if os.path.exists(os.path.join(d, "complete.mark")):
        continue
    os.makedirs(d, exist_ok=True)
    for i in range(count):
        if i % 1000 == 999:
            os.makedirs(os.path.join(d, "Folder%d" % i), exist_ok=True)
        else:
            open(os.path.join(d, "file%d%s" % (i, exts[i % 10])), "w").close()
    open(os.path.join(d, "complete.mark"), "w").close()
PY
# The time writes run at 10,000 and 100,000 files (a million would take Wine most of an hour),
# on the listed folders of those counts, made above.
edit_counts=()
for count in "${counts[@]}"; do [ "$count" -le 100000 ] && edit_counts+=("$count"); done

# Photos and videos for Times From Content: 10,000 JPEGs of 100 KB with their EXIF at the start and
# 1,000 MP4s whose movie box comes after their media data.
python3 - "$folder/content" <<'PY'
import os, struct, sys
d = sys.argv[1]
if not os.path.exists(os.path.join(d, "complete.mark")):
    os.makedirs(d, exist_ok=True)
    def ifd(entries, base):
        # entries: (tag, type, count, value bytes); values longer than 4 bytes go after the IFD.
        out, data = struct.pack("<H", len(entries)), b""
        tail = base + 2 + 12 * len(entries) + 4
        for tag, kind, count, value in entries:
            if len(value) <= 4:
                out += struct.pack("<HHI", tag, kind, count) + value.ljust(4, b"\0")
            else:
                out += struct.pack("<HHII", tag, kind, count, tail + len(data))
                data += value
        return out + struct.pack("<I", 0) + data
    for i in range(10000):
        date = b"2021:%02d:%02d %02d:%02d:%02d\0" % (1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60)
        exif_at = 8 + 2 + 12 + 4
        tiff = b"II*\0" + struct.pack("<I", 8) + ifd([(0x8769, 4, 1, struct.pack("<I", exif_at))], 8)
        tiff += ifd([(0x9003, 2, 20, date), (0x9291, 2, 3, b"12\0")], exif_at)
        app1 = b"Exif\0\0" + tiff
        jpeg = b"\xff\xd8" + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1
        jpeg += b"\xff\xda\0\x08\x01\x01\0\0\x3f\0"
        jpeg += bytes(100 * 1024 - len(jpeg) - 2) + b"\xff\xd9"
        open(os.path.join(d, "photo%05d.jpg" % i), "wb").write(jpeg)
    def box(kind, payload):
        return struct.pack(">I", 8 + len(payload)) + kind + payload
    for i in range(1000):
        created = 3700000000 + i * 3600
        mvhd = box(b"mvhd", bytes(4) + struct.pack(">IIII", created, created, 600, 0) + bytes(80))
        movie = box(b"ftyp", b"mp42" + bytes(4) + b"mp42isom") + box(b"mdat", bytes(100 * 1024)) + box(b"moov", mvhd)
        open(os.path.join(d, "movie%04d.mp4" % i), "wb").write(movie)
    open(os.path.join(d, "complete.mark"), "w").close()
# 10,000 photos, each with an export's JSON beside it, for dates from sidecars.
d = os.path.join(os.path.dirname(d), "sidecar")
if not os.path.exists(os.path.join(d, "complete.mark")):
    os.makedirs(d, exist_ok=True)
    for i in range(10000):
        open(os.path.join(d, "IMG_%05d.jpg" % i), "wb").write(bytes(4096))
        open(os.path.join(d, "IMG_%05d.jpg.json" % i), "w").write(
            '{"title":"IMG_%05d.jpg","creationTime":{"timestamp":"%d"},"photoTakenTime":{"timestamp":"%d",'
            '"formatted":"x"},"geoData":{"latitude":0.0,"longitude":0.0}}' % (i, 1600000000 + i, 1500000000 + i * 60))
    open(os.path.join(d, "complete.mark"), "w").close()
PY

# A tree of 100,000 files in 1,000 folders for Save Times and Restore Times, and a copy of it with
# other times.
python3 - "$folder" <<'PY'
import os, sys
root = sys.argv[1]
for name, when in (("tree100000", 1600000000), ("tree100000-copy", 1500000000)):
    d = os.path.join(root, name)
    if os.path.exists(os.path.join(d, "complete.mark")):
        continue
    for f in range(1000):
        sub = os.path.join(d, "folder%03d" % f)
        os.makedirs(sub, exist_ok=True)
        for i in range(100):
            path = os.path.join(sub, "file%03d.txt" % i)
            open(path, "w").close()
            os.utime(path, (when + f * 100 + i, when + f * 100 + i))
    open(os.path.join(d, "complete.mark"), "w").close()
PY

# The shown folder that another program adds to: 100,000 files, and the program (here, on the host)
# that makes 10,000 more in it once the bench asks, says how long that took, and removes them again
# when asked, five times.
watched="$folder/watch100000"
python3 - "$watched" <<'PY'
import glob, os, sys
d = sys.argv[1]
os.makedirs(d, exist_ok=True)
for old in glob.glob(os.path.join(d, "new*.txt")):
    os.remove(old)
if not os.path.exists(os.path.join(d, "complete.mark")):
    for i in range(100000 - 1):
        open(os.path.join(d, "file%06d.dat" % i), "w").close()
    open(os.path.join(d, "complete.mark"), "w").close()
PY

# What was just made (over a gigabyte on a first run) is still being written back: a bench timed
# meanwhile measures the disk. It is flushed, and the first timing waits until the kernel holds
# little left to write (under 16 MB for three seconds running, at most two minutes).
sync
calm=0
for _ in $(seq 1 120); do
  pending=$(awk '/^(Dirty|Writeback):/ { kb += $2 } END { print kb }' /proc/meminfo)
  if [ "$pending" -lt 16384 ]; then calm=$((calm + 1)); else calm=0; fi
  [ $calm -ge 3 ] && break
  sleep 1
done

# ---- The prefix and the session ----
export WINEPREFIX=${PW_BENCH_PREFIX:-/tmp/pathwick-bench-prefix}
export TZ=Europe/Berlin LC_ALL=en_US.UTF-8
summary=$(mktemp "$folder/summary.XXXXXX")
pw_start_xvfb || exit 1  # before the prefix: Wine's desktop keeps the display it started with
finish() {
  local rc=$?
  [ -z "${maker:-}" ] || kill "$maker" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  pw_stop_xvfb || true
  rm -f "$summary"
  exit $rc
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
# A new prefix finishes its set-up here, and one server holds the services for every bench, so
# that no bench times Wine starting them.
pw_prepare_prefix --no-window-manager
wineserver -p </dev/null >/dev/null 2>&1
pw_wine_session build/win/pw_show.exe

# ---- The benches ----
failed=()
bench() {
  local name=$1
  shift
  wine "build/win/$name.exe" --in "$in" --summary "$in\\$(basename "$summary")" "$@" 2>/dev/null || failed+=("$name")
}
bench listing_bench "${counts[@]}"
[ ${#edit_counts[@]} -eq 0 ] || bench edit_bench "${edit_counts[@]}"
bench content_bench
bench saved_bench

rm -f "$folder"/watch.go "$folder"/watch.made "$folder"/watch.clean "$folder"/watch.cleaned
python3 - "$folder" <<'PY' &
import glob, os, sys, time
root = sys.argv[1]
d = os.path.join(root, "watch100000")
def wait_for(name):
    path = os.path.join(root, name)
    end = time.time() + 1800
    while not os.path.exists(path) and time.time() < end:
        time.sleep(0.002)
    if os.path.exists(path):
        os.remove(path)
for round in range(5):
    wait_for("watch.go")
    start = time.time()
    for i in range(10000):
        open(os.path.join(d, "new%d_%05d.txt" % (round, i)), "w").close()
    with open(os.path.join(root, "watch.made"), "w") as f:
        f.write("%.3f\n" % (time.time() - start))
    wait_for("watch.clean")
    for old in glob.glob(os.path.join(d, "new*.txt")):
        os.remove(old)
    open(os.path.join(root, "watch.cleaned"), "w").close()
PY
maker=$!

bench watch_bench

# ---- One table ----
echo
echo "Summary: every figure with a goal (ratios are to a baseline of the same run)"
awk -F '\t' '
  { what[NR] = $1; figure[NR] = $2; goal[NR] = $3; met[NR] = $4
    if (length($1) > w1) w1 = length($1); if (length($2) > w2) w2 = length($2); if (length($3) > w3) w3 = length($3)
    if ($4 == "met") n++ }
  END {
    for (i = 1; i <= NR; i++) printf "  %-*s  %-*s  %-*s  %s\n", w1, what[i], w2, figure[i], w3, goal[i], met[i]
    printf "  %d of %d goals met\n", n, NR
  }' "$summary"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Ended with an error, their figures above are missing or partial: ${failed[*]}"
  exit 1
fi
