#!/usr/bin/env bash
# Benchmarks under Wine: listing and sorting of large folders in the real window, writing the
# times of many files (the time tools' and the editor's cores, and Edit File Params in the window,
# against a bare loop of the same writes), and a shown folder of 100,000 entries taking 10,000 new
# files from another program. The folders
# (10,000, 100,000 and 1,000,000 empty files) are made once on the host, which is far faster than
# making them through Wine, and kept in /tmp/pathwick-bench for later runs.
#   bash scripts/bench.sh [count ...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$PW_ROOT"

pw_install_deps
pw_build_win --target listing_bench --target edit_bench --target watch_bench --target content_bench \
             --target saved_bench

counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(10000 100000 1000000)
folder=/tmp/pathwick-bench
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

export WINEPREFIX=${PW_BENCH_PREFIX:-/tmp/pathwick-bench-prefix}
export TZ=Europe/Berlin LC_ALL=en_US.UTF-8
pw_start_xvfb || exit 1  # before the prefix: Wine's desktop keeps the display it started with
trap 'wineserver -k >/dev/null 2>&1; pw_stop_xvfb' EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
pw_prepare_prefix --no-window-manager
wine build/win/listing_bench.exe --in 'Z:\tmp\pathwick-bench' "${counts[@]}" 2>/dev/null
# The time writes at 10,000 and 100,000 files (a million would take Wine most of an hour).
edit_counts=()
for count in "${counts[@]}"; do [ "$count" -le 100000 ] && edit_counts+=("$count"); done
[ ${#edit_counts[@]} -eq 0 ] || wine build/win/edit_bench.exe --in 'Z:\tmp\pathwick-bench' "${edit_counts[@]}" 2>/dev/null
wine build/win/content_bench.exe --in 'Z:\tmp\pathwick-bench' 2>/dev/null
wine build/win/saved_bench.exe --in 'Z:\tmp\pathwick-bench' 2>/dev/null

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
wine build/win/watch_bench.exe --in 'Z:\tmp\pathwick-bench' 2>/dev/null || true
kill "$maker" 2>/dev/null || true
