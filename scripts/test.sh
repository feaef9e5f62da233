#!/usr/bin/env bash
# Installs what is missing, builds the native, fuzz and Windows builds, and runs every test: the
# core tests natively under AddressSanitizer/UBSan, the fuzz targets for a bounded number of
# inputs each, then the Windows programs under Wine on a virtual display in a fresh temporary Wine
# prefix.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$PW_ROOT"

pw_install_deps || exit 1
pw_build_native || exit 1
pw_build_fuzz || exit 1
pw_build_win || exit 1

(cd build/native && ctest --output-on-failure --timeout 120)
native_rc=$?
(cd build/fuzz && ctest --output-on-failure --timeout 120)
fuzz_rc=$?

work=$(mktemp -d /tmp/pathwick-test.XXXXXX)
export WINEPREFIX="$work/prefix"
export TZ=Europe/Berlin LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8
# Wine lets go of the FAT volume's files before it is unmounted, and it is unmounted before the
# folder is removed, which would otherwise empty the volume and stop at its mount point.
cleanup() {
  wineserver -k >/dev/null 2>&1
  pw_unmount_fat "$work/fat"
  pw_stop_share "$work/smb"
  pw_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
pw_start_xvfb || exit 1
mkdir -p "$WINEPREFIX"
# The huge folder of the background listing tests, made here in seconds: through Wine every new name
# is first looked up in the whole folder, which would take hours.
pw_make_big_folder "$work/big" 200000
export PW_BIG_FOLDER="Z:${work//\//\\}\\big"
# A real FAT volume for the tests of what a volume keeps of the times written; the image is handed
# over too, for the drive letter's device, so that Wine names the volume FAT.
if pw_fuse_usable; then
  pw_mount_fat "$work/fat.img" "$work/fat" || exit 1
  export PW_FAT_FOLDER="Z:${work//\//\\}\\fat" PW_FAT_IMAGE="Z:${work//\//\\}\\fat.img"
else
  echo "No FAT volume for the Wine tests: /dev/fuse cannot be opened; its tests are skipped"
fi
# A network share on 127.0.0.1 (Samba, mounted with smbnetfs) for the tests of browsing and writing
# over the network: the tests see it at PW_SHARE_FOLDER (for a drive letter of theirs), as
# \\127.0.0.1\share once the prefix is made, and stop and start its server with PW_SHARE_SERVER.
share_unusable=$(pw_share_unusable)
if [ -z "$share_unusable" ]; then
  pw_start_share "$work/smb" || exit 1
  export PW_SHARE_FOLDER="Z:${work//\//\\}\\smb\\mnt\\127.0.0.1\\share"
  export PW_SHARE_SERVER="Z:${work//\//\\}\\smb\\server.sh"
else
  echo "No network share for the Wine tests: $share_unusable; its tests are skipped"
fi
# The photos and videos of the Times From Content tests, as the native tests had them made.
bash scripts/make_media.sh "$PW_ROOT/build/media" || exit 1
export PW_MEDIA_FOLDER="Z:${PW_ROOT//\//\\}\\build\\media"
# The prefix is made whole first, by a server of its own that ends with the set-up. Then one
# persistent server holds the session of all the tests: Wine's background processes (services,
# devices, the desktop) inherit the output of whichever program starts them, so a first window
# starts them with their output going nowhere, and the tests begin once they have settled.
pw_prepare_prefix --no-window-manager
[ -z "$share_unusable" ] && pw_share_in_prefix "$work/smb"
wineserver -p </dev/null >/dev/null 2>&1
pw_wine_session build/win/pw_show.exe || exit 1

(cd build/win && ctest --output-on-failure --timeout 300 </dev/null)
win_rc=$?

[ $native_rc -eq 0 ] && [ $fuzz_rc -eq 0 ] && [ $win_rc -eq 0 ]
