# Shared steps of the project's scripts: packages, builds, virtual display and Wine prefixes.
# Sourced, not run.

PW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PW_JOBS=$(nproc 2>/dev/null || echo 2)

# fonts-wine brings Wine's Tahoma and MS Sans Serif, the fonts the windows are laid out for;
# without them every text falls back to a much wider font and is clipped. fusefat and dosfstools
# make the FAT volume of the Wine tests. wixl, osslsigncode and zip make the release
# (scripts/package.sh); msitools reads the installer back in its tests.
pw_install_deps() {
  local pkgs=(cmake make g++ python3 locales googletest libgtest-dev
              g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
              wine wine64 fonts-wine xvfb xauth x11-utils imagemagick
              fusefat dosfstools clang libclang-rt-14-dev libimage-exiftool-perl libheif-examples
              wixl msitools osslsigncode zip unzip openssl nlohmann-json3-dev)
  local missing=() p
  for p in "${pkgs[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  # Wine takes its locale, and the character set of file names on the host, from LC_ALL; without
  # the host locale, names outside ASCII cannot be stored.
  if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo sed -i 's/^# *\(en_US.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
}

pw_build_native() {
  cmake -S "$PW_ROOT" -B "$PW_ROOT/build/native" -DCMAKE_BUILD_TYPE=Debug -DPW_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build "$PW_ROOT/build/native" -j"$PW_JOBS"
}

# The core and its fuzz targets, built by clang with libFuzzer, AddressSanitizer and UBSan; its
# CTest runs each target for a bounded number of inputs.
pw_build_fuzz() {
  CC=clang CXX=clang++ cmake -S "$PW_ROOT" -B "$PW_ROOT/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPW_FUZZ=ON >/dev/null
  cmake --build "$PW_ROOT/build/fuzz" -j"$PW_JOBS"
}

pw_build_win() {
  cmake -S "$PW_ROOT" -B "$PW_ROOT/build/win" -DCMAKE_BUILD_TYPE=Release -DPW_WARNINGS_AS_ERRORS=ON \
        -DCMAKE_TOOLCHAIN_FILE="$PW_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$PW_ROOT/build/win" -j"$PW_JOBS" "$@"
}

# Starts Xvfb on a display number it chooses itself (the first free one) and exports DISPLAY;
# PW_XVFB_PID is its process. Fails when the server does not come up.
pw_start_xvfb() {
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  PW_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$numberFile" ] && break
    kill -0 "$PW_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  local n
  n=$(head -n 1 "$numberFile" 2>/dev/null)
  rm -f "$numberFile"
  if [ -z "$n" ]; then
    echo "Xvfb did not start; no virtual display" >&2
    pw_stop_xvfb
    return 1
  fi
  export DISPLAY=":$n"
}

pw_stop_xvfb() {
  [ -n "${PW_XVFB_PID:-}" ] && kill "$PW_XVFB_PID" 2>/dev/null
  PW_XVFB_PID=""
}

# Initialises $WINEPREFIX when it does not exist yet. Wine's background services inherit the
# standard streams of whoever starts them, so they are all sent to /dev/null here.
pw_prepare_prefix() {
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
  local made=""
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager Wine draws the title bar and frame itself only with this setting.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    made=1
  fi
  # On a display of our own no window manager runs: without this, every managed window that hides
  # waits two seconds for the manager's answer, which never comes, and the program stands still
  # meanwhile. Only for prefixes of our own: a user's prefix keeps its windows managed.
  if [ "${1:-}" = --no-window-manager ] && ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  fi
  # This Wine does not look for its own fonts (Tahoma, MS Sans Serif) in its data folder, only in
  # the prefix's Fonts folder.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/tahoma.ttf" ]; then
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/* "$fonts/"
  fi
  # `wineboot -i` returns while the set-up goes on: the loader had already run one start-up for
  # the new prefix, the command runs a second, and services, devices and the menu builder are
  # still starting; the registry is written only when the server ends. A program started now
  # races all of that, and can end before it prints anything. So a new prefix is left to finish:
  # its server ends once every process of the set-up has (Debian's wineserver keeps no server
  # waiting). Bounded, should something of the set-up never end.
  if [ -n "$made" ] && ! timeout 300 wineserver -w </dev/null >/dev/null 2>&1; then
    echo "The set-up of the Wine prefix $WINEPREFIX did not end within 5 minutes; ending it" >&2
    wineserver -k </dev/null >/dev/null 2>&1
  fi
}

# Starts a Wine session on the prepared prefix with `program` (whose output goes nowhere, as that of
# the background processes it starts) and waits until the session has settled: the program has
# ended and the prefix's Wine processes (services, devices, the desktop) stayed the same for two
# seconds, at most a minute. Says how the program ended and what it printed when it failed.
pw_wine_session() {
  local program=$1 log
  log=$(mktemp)
  wine "$program" </dev/null >"$log" 2>&1
  local rc=$?
  if [ $rc -ne 0 ]; then
    echo "The first Wine program of the session ($program) ended with exit code $rc; it printed:" >&2
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  local last="" now same=0 i
  for i in $(seq 1 120); do
    now=$(pw_wine_processes)
    if [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ $same -ge 4 ] && return 0
    else
      same=0
      last=$now
    fi
    sleep 0.5
  done
  echo "Wine's processes did not settle within a minute: $now" >&2
}

# The process ids and names of the Wine processes running on $WINEPREFIX, one a line.
pw_wine_processes() {
  local dir line
  for dir in /proc/[0-9]*; do
    { tr '\0' '\n' <"$dir/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null || continue
    line=$( { tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null)
    case "$line" in *.exe*|*wineserver*|*'C:\'*) echo "${dir#/proc/} ${line%% *}" ;; esac
  done
}

# Makes a folder of `count` empty files named entry000000.dat ..., every thousandth a sub-folder
# named folder000 ..., unless it is there complete already (a file beside it says so).
pw_make_big_folder() {
  python3 - "$1" "$2" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
if not os.path.exists(folder + ".complete"):
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        if i % 1000 == 999:
            os.makedirs(os.path.join(folder, "folder%03d" % (i // 1000)), exist_ok=True)
        else:
            open(os.path.join(folder, "entry%06d.dat" % i), "w").close()
    open(folder + ".complete", "w").close()
PY
}

# ---- A FAT volume for the Wine tests ------------------------------------------------------------

# True when FUSE can be used here; every FAT mount needs it.
pw_fuse_usable() {
  ( : <>/dev/fuse ) 2>/dev/null
}

# Unmounts the folder when something is mounted there, even a mount whose driver is gone.
pw_unmount_fat() {
  local folder=$1
  mountpoint -q "$folder" 2>/dev/null || grep -qs " $(realpath -m "$folder") fuse" /proc/mounts || return 0
  fusermount -u "$folder" 2>/dev/null || fusermount3 -u "$folder" 2>/dev/null ||
    umount "$folder" 2>/dev/null || umount -l "$folder"
}

# A FAT16 image of 16 MB mounted read-write with Debian's FUSE driver (fusefat). What the Windows
# tests can rely on, measured with Wine 8.0 on that driver (and ext4 for comparison):
# - The drive letter the tests define for the folder with Wine's mount manager (TestDrive) is named
#   "NTFS" by GetVolumeInformationW and GetVolumeInformationByHandleW alike: the request's FsType
#   field is ignored. Given the image as the drive's device (the request's DeviceOffset), the mount
#   manager reads its boot sector and GetVolumeInformationByHandleW (on the root or any entry) says
#   "FAT", with the image's label and serial; GetVolumeInformationW("R:\") still says "NTFS",
#   because it opens the device itself, which is a file on Z:. A handle on a Z: path inside the
#   mount gives "NTFS" and cannot be asked for the volume's serial (error 1).
# - SetFileTime answers TRUE and writes nothing unless it carries both the last access and the last
#   write: a write of the last write alone, the access alone, or the creation alone is dropped.
# - The last write is cut down to 2 s (Windows rounds it up). The last access and the creation keep
#   no value of their own: both read back as the last write, and a write whose last access and last
#   write differ keeps the last write for both.
# - Out-of-range years are not refused (Windows answers error 87): the year wraps modulo 128 from
#   1980, so 1979-12-31 reads back as 2107-12-31, 2108-01-01 as 1980-01-01, 1601 as 1985.
# - The driver writes UTC into the directory entries and reads them back as local standard time,
#   so it runs with TZ=UTC here, whatever zone the tests use: times then come back as written (to
#   2 s). Its months are stored one low, which only a FAT reader other than this driver would see.
# - On ext4 (an ordinary folder of the prefix) the last write and the last access keep every 100-ns
#   digit, each on its own, from 1901-12-13 20:45:52 (earlier is clamped to it) to past 2108; the
#   creation cannot be set there either and reads back as the last write.
# - The root folder holds at most 512 entries (FAT16): tests make their files in sub-folders.

# Makes a new FAT image at `image` and mounts it read-write at `folder`; a mount or image left by
# an earlier run is replaced. Fails when the volume is not there afterwards.
pw_mount_fat() {
  local image=$1 folder=$2
  local mkfs
  mkfs=$(PATH="$PATH:/usr/sbin:/sbin" command -v mkfs.vfat) || { echo "mkfs.vfat is missing" >&2; return 1; }
  pw_unmount_fat "$folder" || return 1
  mkdir -p "$folder" "$(dirname "$image")"
  rm -f "$image"
  "$mkfs" -F 16 -s 1 -i 50574641 -C "$image" 16384 >/dev/null || return 1
  TZ=UTC fusefat -o rw+ "$image" "$folder" </dev/null >/dev/null 2>&1
  mountpoint -q "$folder" || { echo "fusefat did not mount $image at $folder" >&2; return 1; }
}
