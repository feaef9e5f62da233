#!/usr/bin/env bash
# The release as a Windows user gets it, under Wine in a fresh prefix of its own: scripts/package.sh
# run on the given Windows build (Release) writes the installer, the portable zip, their sums and
# the winget manifest; the installer installs, starts, upgrades to the next version, refuses an
# older or the same one, and uninstalls all it made but the user's settings; the zip's program
# starts; a second build of the same sources in other folders gives the same program, byte for
# byte; with a certificate the program and the installer are signed.
#   bash tests/package/test_package.sh <Windows build folder>
# Runs on $DISPLAY, or on a virtual display of its own where there is none.
set -uo pipefail
build=$(cd "${1:?the Windows build folder}" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
work=$(mktemp -d /tmp/pathwick-package-test.XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
export TZ=Europe/Berlin LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8
cleanup() {
  wineserver -k >/dev/null 2>&1
  pw_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
# expect <what> <actual> <expected>
expect() {
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $1: got \"$2\", expected \"$3\""
  fi
}
# ok <what> <command...>: the command succeeds.
ok() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
win() { local p=$1; echo "Z:${p//\//\\}"; }
# Wine's exit codes reach the shell cut to 8 bits (1603, a failed install, as 67).
msiexec() { timeout 300 wine msiexec "$@" </dev/null >/dev/null 2>&1; }
same_file() { cmp -s "$1" "$2"; }
# The value of a registry value, or nothing.
reg_value() {
  timeout 60 wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# The key and display version of each uninstall entry named Pathwick, one a line.
pathwick_entries() {
  timeout 60 wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null 2>/dev/null |
    tr -d '\r' | awk '/^HKEY/ { key = $0; name = ""; version = "" }
                      /^ *DisplayName +REG_SZ/ { sub(/^ *DisplayName +REG_SZ +/, ""); name = $0 }
                      /^ *DisplayVersion +REG_SZ/ { sub(/^ *DisplayVersion +REG_SZ +/, ""); version = $0 }
                      /^$/ { if (name == "Pathwick") print key " " version; name = "" }
                      END { if (name == "Pathwick") print key " " version }'
}
probe() { timeout 150 wine "$build/pw_package_probe.exe" "$@" </dev/null >/dev/null 2>&1; }
# Starts the program (a Windows path), waits for its main window, closes it and waits for it to
# end; prints the executable the window belonged to.
run_program() {
  timeout 150 wine "$1" </dev/null >/dev/null 2>&1 &
  local pid=$!
  rm -f "$work/main.txt"
  probe main "$(win "$work/main.txt")"
  wait "$pid"
  tr -d '\r' <"$work/main.txt" 2>/dev/null | sed -n 's/^Program=//p'
}
# The version resource of a program: "FileVersion ProductVersion Fixed Prerelease".
version_of() {
  rm -f "$work/version.txt"
  probe version "$1" "$(win "$work/version.txt")"
  tr -d '\r' <"$work/version.txt" 2>/dev/null | sed 's/^[A-Za-z]*=//' | paste -sd' '
}
# Unpacks the program from an installer or a zip into a folder of its own; prints its path.
unpacked_exe() {
  local into="$work/unpacked/$(basename "$1")"
  mkdir -p "$into"
  case $1 in
    *.msi) (cd "$into" && msiextract "$1" >/dev/null) ;;
    *.zip) unzip -q -o "$1" -d "$into" ;;
  esac
  find "$into" -name Pathwick.exe | head -n 1
}
# package <build folder> <dist folder> [source root] [NAME=value...]: scripts/package.sh's output
# goes to <dist folder>.log.
package() {
  env PW_BUILD_DIR="$1" PW_DIST_DIR="$2" "${@:4}" bash "${3:-$PW_ROOT}/scripts/package.sh" >"$2.log" 2>&1
}
# refused <msi>: the installer stops at its launch conditions with a failed install (1603), not
# at anything else (a package that cannot be opened fails too, with another code).
refused() {
  local log="$work/refused.log" rc=0
  rm -f "$log"
  msiexec /i "$(win "$1")" /qn /l*v "$(win "$log")" || rc=$?
  [ "$rc" -eq $((1603 % 256)) ] && grep -q 'Action start .*: LaunchConditions\.' "$log" &&
    ! grep -q 'Action start .*: CostInitialize\.' "$log"
}

text=$(sed -n 's/^#define PW_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/PathwickVersion.h")
version=$(cat "$build/version.txt")
prerelease=0
case $text in *-dev+*) prerelease=1 ;; esac
IFS=. read -r major minor patch <<<"$version"
next="$major.$minor.$((patch + 1))"
name="Pathwick-$text-x64"
dist="$work/dist"

# --- The release files -------------------------------------------------------------------------
ok "package.sh writes the release" package "$build" "$dist"
ok "package.sh says it did not sign" grep -q "^Not signing" "$dist.log"
for f in "$name.msi" "$name.zip" SHA256SUMS "Pathwick-$text.winget.yaml"; do
  ok "$f is written" test -s "$dist/$f"
done
ok "SHA256SUMS holds both files and their sums" bash -c "cd '$dist' && sha256sum -c --quiet SHA256SUMS && [ \$(wc -l <SHA256SUMS) = 2 ]"
product_code=$(msiinfo export "$dist/$name.msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')
expect "the installer's version" "$(msiinfo export "$dist/$name.msi" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')" "$version"
manifest="$dist/Pathwick-$text.winget.yaml"
expect "the manifest's product code" "$(sed -n "s/^    ProductCode: '\(.*\)'$/\1/p" "$manifest")" "$product_code"
expect "the manifest's installer sum" "$(sed -n 's/^    InstallerSha256: //p' "$manifest")" \
       "$(sha256sum "$dist/$name.msi" | cut -d' ' -f1 | tr a-f A-F)"
expect "the manifest's version" "$(sed -n 's/^PackageVersion: //p' "$manifest")" "$text"
exe=$(unpacked_exe "$dist/$name.msi")
ok "the installer holds the build's program" same_file "$exe" "$build/Pathwick.exe"
ok "the zip holds the build's program" same_file "$(unpacked_exe "$dist/$name.zip")" "$build/Pathwick.exe"
ok "the zip holds the text on how to start it" bash -c "unzip -p '$dist/$name.zip' '$name/README.txt' | grep -q 'start Pathwick.exe'"

# --- Signing -----------------------------------------------------------------------------------
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
        -subj "/CN=Pathwick test signer" >/dev/null 2>&1
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" \
        -passout pass:test-pass >/dev/null 2>&1
ok "package.sh signs with a certificate" package "$build" "$work/signed" "$PW_ROOT" \
   PW_SIGN_CERT="$work/cert.p12" PW_SIGN_PASS=test-pass
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >/dev/null 2>&1; }
ok "the signed installer verifies" verify "$work/signed/$name.msi"
ok "the program in the signed zip verifies" verify "$(unpacked_exe "$work/signed/$name.zip")"
ok "the program in the signed installer verifies" verify "$(unpacked_exe "$work/signed/$name.msi")"

# --- The same sources elsewhere, then the next version -----------------------------------------
# The checkout is copied as it stands, uncommitted changes too; git still answers for it, so the
# copy is built as the same version.
source_copy="$work/elsewhere/other-source"
mkdir -p "$source_copy"
(cd "$PW_ROOT" && git ls-files -z -co --exclude-standard | xargs -0 cp --parents -t "$source_copy" 2>/dev/null)
export GIT_DIR GIT_WORK_TREE="$source_copy"
GIT_DIR=$(git -C "$PW_ROOT" rev-parse --absolute-git-dir)
again="$work/elsewhere/another-build"
ok "package.sh builds the copy" package "$again" "$work/again" "$source_copy"
ok "the copy's installer holds the same program" same_file "$(unpacked_exe "$work/again/$name.msi")" "$exe"
ok "the copy's zip is the same, byte for byte" same_file "$work/again/$name.zip" "$dist/$name.zip"
cmake "$again" -DPW_VERSION_OVERRIDE="$next" >/dev/null
next_text=${text/#$version/$next}
ok "package.sh builds the next version" package "$again" "$work/next" "$source_copy"
unset GIT_DIR GIT_WORK_TREE
next_msi="$work/next/Pathwick-$next_text-x64.msi"
next_exe=$(unpacked_exe "$next_msi")

# --- Under Wine ---------------------------------------------------------------------------------
if [ -z "${DISPLAY:-}" ]; then pw_start_xvfb || exit 1; fi
mkdir -p "$WINEPREFIX"
# One persistent server holds Wine's background processes, their output going nowhere, and a
# first window starts the desktop: none of them keeps the caller's output open.
wineserver -p </dev/null >/dev/null 2>&1
pw_prepare_prefix --no-window-manager
wine "$build/pw_show.exe" </dev/null >/dev/null 2>&1

installed="$WINEPREFIX/drive_c/Program Files/Pathwick/Pathwick.exe"
installed_win='C:\Program Files\Pathwick\Pathwick.exe'
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code"
settings='HKCU\Software\Quillmere Software\Corvalt\File Browser'
shortcut() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Pathwick.lnk' | head -n 1; }

ok "msiexec /i installs" msiexec /i "$(win "$dist/$name.msi")" /qn
ok "the program is in Program Files" same_file "$installed" "$exe"
# Wine puts a machine-wide install's shortcuts in the user's Start menu; Windows in everyone's.
ok "the Start menu shortcut points at the program" grep -aqF "$installed_win" "$(shortcut)"
expect "the entry's name" "$(reg_value "$uninstall_key" DisplayName)" Pathwick
expect "the entry's version" "$(reg_value "$uninstall_key" DisplayVersion)" "$version"
expect "the entry's publisher" "$(reg_value "$uninstall_key" Publisher)" "Quillmere Software"
packed=$(python3 -c 'import sys, uuid; h = uuid.UUID(sys.argv[1]).hex.upper()
print(h[7::-1] + h[11:7:-1] + h[15:11:-1] + "".join(h[i + 1] + h[i] for i in range(16, 32, 2)))' "$product_code")
icon=$(reg_value "HKLM\\Software\\Classes\\Installer\\Products\\$packed" ProductIcon)
icon=${icon#C:\\}
ok "the entry's icon is kept" test -s "$WINEPREFIX/drive_c/${icon//\\//}"
expect "the installed program's version resource" "$(version_of "$installed_win")" \
       "$text $text $version.0 $prerelease"
expect "the installed program starts to its main window" "$(run_program "$installed_win")" "$installed_win"
details=$(reg_value "$settings" Details)
ok "the program wrote the user's settings" test -n "$details"

ok "the next version installs over it" msiexec /i "$(win "$next_msi")" /qn
next_code=$(msiinfo export "$next_msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')
expect "one entry, the next version's" "$(pathwick_entries)" \
       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$next_code $next"
ok "the next version's program is installed" same_file "$installed" "$next_exe"
expect "the next version's version resource" "$(version_of "$installed_win" | cut -d' ' -f3)" "$next.0"
ok "an older installer is refused" refused "$dist/$name.msi"
ok "the same installer again is refused" refused "$next_msi"
ok "the refusals leave the next version" same_file "$installed" "$next_exe"

ok "msiexec /x uninstalls" msiexec /x "$(win "$next_msi")" /qn
ok "the program's folder is gone" test ! -e "$(dirname "$installed")"
expect "the shortcut is gone" "$(shortcut)" ""
expect "the entry is gone" "$(pathwick_entries)" ""
expect "the user's settings stay" "$(reg_value "$settings" Details)" "$details"

portable="$WINEPREFIX/drive_c/Portable"
mkdir -p "$portable"
unzip -q "$dist/$name.zip" -d "$portable"
expect "the zip's program starts to its main window" "$(run_program "C:\\Portable\\$name\\Pathwick.exe")" \
       "C:\\Portable\\$name\\Pathwick.exe"

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
