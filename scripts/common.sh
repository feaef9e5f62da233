# Shared steps of the project's scripts: packages, builds, virtual display and Wine prefixes.
# Sourced, not run.

PW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PW_JOBS=$(nproc 2>/dev/null || echo 2)

# fonts-wine brings Wine's Tahoma and MS Sans Serif, the fonts the windows are laid out for;
# without them every text falls back to a much wider font and is clipped. fusefat and dosfstools
# make the FAT volume of the Wine tests, samba and smbnetfs their network share. wixl, osslsigncode and zip make the release
# (scripts/package.sh); msitools reads the installer back in its tests.
pw_install_deps() {
  local pkgs=(cmake make g++ python3 locales googletest libgtest-dev
              g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
              wine wine64 fonts-wine xvfb xauth x11-utils imagemagick
              fusefat dosfstools samba smbclient smbnetfs clang libclang-rt-14-dev libimage-exiftool-perl libheif-examples
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

# ---- A network share for the Wine tests -----------------------------------------------------------

# What the Windows tests can rely on, measured with Wine 8.0 on Samba 4 through smbnetfs:
# - A drive letter the mount manager defines with the type DRIVE_REMOTE (TestDrive's `network`)
#   is written by it into HKLM\Software\Wine\Drives as "q:"="network"; GetDriveTypeW says
#   DRIVE_REMOTE (4). GetVolumeInformationW names it "NTFS" (flags 0x0a, the serial made of the
#   letter, 0x53000000 for S:), and so does GetVolumeInformationByHandleW on any entry of it.
# - \\127.0.0.1\share\ (the prefix's dosdevices/unc/127.0.0.1/share, a link to the mount) is no
#   network volume to Wine: GetDriveTypeW says DRIVE_FIXED (3), GetVolumeInformationW fails with
#   ERROR_DIR_NOT_ROOT (144); a handle on it says "NTFS", with the serial of a drive letter that
#   points to the same folder. Paths, listings and times work as on the drive letter.
# - The last write and the last access keep whole seconds (cut down: 12:00:00.1234567 reads back
#   12:00:00); the creation cannot be set and reads back as the last write. SetFileTime with the
#   last write alone answers TRUE and keeps nothing, as on the FAT volume.
# - ReadDirectoryChangesW is accepted and answers changes made through the mount; a change made on
#   the server's side (in the shared folder itself) is never reported.
# - With smbd stopped the mount answers EIO: CreateFileW and GetFileAttributesW of an entry fail
#   with ERROR_NOT_READY (21), FindFirstFileExW with ERROR_NOACCESS (998), and GetDriveTypeW of the
#   drive says DRIVE_NO_ROOT_DIR (1). Once smbd is back the mount answers again after about 2 s
#   (smbnetfs keeps failures for 3 s). With smbnetfs itself gone (ENOTCONN) an entry fails with
#   ERROR_GEN_FAILURE (31) and the mount's root with ERROR_PATH_NOT_FOUND (3).

# Why no share can be served here, or nothing when one can: smbd and smbnetfs are needed, FUSE,
# and the SMB port of the loopback address (smbnetfs reaches a server on port 445 only).
pw_share_unusable() {
  PATH="$PATH:/usr/sbin:/sbin" command -v smbd >/dev/null || { echo "smbd is missing"; return 0; }
  command -v smbnetfs >/dev/null || { echo "smbnetfs is missing"; return 0; }
  pw_fuse_usable || { echo "/dev/fuse cannot be opened"; return 0; }
  [ "$(id -u)" -eq 0 ] || { echo "only root may serve port 445"; return 0; }
  if (exec 3<>/dev/tcp/127.0.0.1/445) 2>/dev/null; then echo "port 445 of 127.0.0.1 is taken"; return 0; fi
  return 1
}

# Serves `folder`/share as \\127.0.0.1\share with Samba's smbd (127.0.0.1 only, no NetBIOS, all
# its state under `folder`) and mounts it with smbnetfs at `folder`/mnt, so that the share is seen
# at `folder`/mnt/127.0.0.1/share. `folder`/server.sh stop|start stops the server (the mount stays,
# and answers with errors meanwhile) and starts it again, each waiting until it is done and then
# making `folder`/stop.done or start.done: Wine starts a host program without a process to wait for. Fails when the share cannot be listed through the mount afterwards.
pw_start_share() {
  local folder
  folder=$(realpath -m "$1")
  local smbd user
  smbd=$(PATH="$PATH:/usr/sbin:/sbin" command -v smbd) || return 1
  user=$(id -un)
  pw_stop_share "$folder"
  mkdir -p "$folder"/share "$folder"/mnt "$folder"/home/.smb
  local d
  for d in state lock cache pid private ncalrpc log; do mkdir -p "$folder/samba/$d"; done
  cat >"$folder/samba/smb.conf" <<CONF
[global]
  interfaces = 127.0.0.1
  bind interfaces only = yes
  disable netbios = yes
  smb ports = 445
  server role = standalone server
  server min protocol = SMB2
  passdb backend = tdbsam:$folder/samba/private/passdb.tdb
  private dir = $folder/samba/private
  state directory = $folder/samba/state
  lock directory = $folder/samba/lock
  cache directory = $folder/samba/cache
  pid directory = $folder/samba/pid
  ncalrpc dir = $folder/samba/ncalrpc
  log file = $folder/samba/log/smbd.log
  load printers = no
  printcap name = /dev/null
  disable spoolss = yes
[share]
  path = $folder/share
  read only = no
CONF
  printf 'pathwick\npathwick\n' | smbpasswd -c "$folder/samba/smb.conf" -s -a "$user" >/dev/null || return 1
  # smbd in a process group of its own, so that stopping it ends the processes serving each
  # connection too, as a server that goes away would.
  cat >"$folder/server.sh" <<SCRIPT
#!/bin/bash
pidfile=$folder/samba/server.pid
listening() { (exec 3<>/dev/tcp/127.0.0.1/445) 2>/dev/null; }
case "\$1" in
  start)
    if ! listening; then
      setsid $smbd --foreground --no-process-group -s $folder/samba/smb.conf </dev/null >/dev/null 2>&1 &
      echo \$! >"\$pidfile"
    fi
    for i in \$(seq 1 200); do listening && { : >$folder/start.done; exit 0; }; sleep 0.05; done
    echo "smbd did not start" >&2; exit 1 ;;
  stop)
    if pid=\$(cat "\$pidfile" 2>/dev/null); then
      kill -TERM -- -"\$pid" 2>/dev/null
      for i in \$(seq 1 200); do kill -0 "\$pid" 2>/dev/null || break; sleep 0.05; done
      kill -KILL -- -"\$pid" 2>/dev/null
      rm -f "\$pidfile"
    fi
    for i in \$(seq 1 200); do listening || { : >$folder/stop.done; exit 0; }; sleep 0.05; done
    echo "smbd did not stop" >&2; exit 1 ;;
esac
SCRIPT
  chmod +x "$folder/server.sh"
  "$folder/server.sh" start || return 1
  # smbnetfs takes its settings and the password from its own files (never from the keyring), and
  # gives up on a server that does not answer after a few seconds rather than 20.
  cat >"$folder/home/.smb/smbnetfs.conf" <<CONF
smb_query_browsers false
use_libsecret false
smb_timeout 5000
auth "127.0.0.1" "$user" "pathwick"
CONF
  chmod 600 "$folder/home/.smb/smbnetfs.conf"
  HOME="$folder/home" smbnetfs "$folder/mnt" -o config="$folder/home/.smb/smbnetfs.conf" </dev/null >/dev/null 2>&1
  local i
  for i in $(seq 1 100); do
    ls "$folder/mnt/127.0.0.1/share" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "The share of $folder could not be listed through smbnetfs" >&2
  return 1
}

# Lets the prefix reach the share as \\\\127.0.0.1\\share: Wine looks UNC paths up in its unc device
# folder, server by server.
pw_share_in_prefix() {
  mkdir -p "$WINEPREFIX/dosdevices/unc/127.0.0.1"
  ln -sfn "$(realpath -m "$1")/mnt/127.0.0.1/share" "$WINEPREFIX/dosdevices/unc/127.0.0.1/share"
  export PW_SHARE_UNC='\\127.0.0.1\share'
}

pw_stop_share() {
  local folder=$1
  pw_unmount_fat "$folder/mnt"
  [ -x "$folder/server.sh" ] && "$folder/server.sh" stop
  return 0
}
