#!/usr/bin/env bash
# Builds the release Pathwick.exe (optimised, statically linked, no console) and writes into dist/:
#   Pathwick-<version>-x64.msi   the installer (package/Pathwick.wxs, built with wixl)
#   Pathwick-<version>-x64.zip   the program and a short text, to unpack and run
#   SHA256SUMS                   of both
#   Pathwick-<version>.winget.yaml   winget's manifest of the installer
# <version> is the build's: the project's version, with "-dev+<commit>" when the checkout has
# changes not yet committed.
#
# Signing: with PW_SIGN_CERT (a PKCS#12 file) and PW_SIGN_PASS the program and the installer are
# signed with osslsigncode (no time stamp: nothing here reaches a time-stamping server); without
# them nothing is signed.
#
# Also read: PW_BUILD_DIR (the build folder; build/release), PW_DIST_DIR (dist), PW_INSTALLER_URL
# (the address the installer will be downloaded from, for the manifest; a placeholder otherwise).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$PW_ROOT"

build=${PW_BUILD_DIR:-$PW_ROOT/build/release}
dist=${PW_DIST_DIR:-$PW_ROOT/dist}
# The upgrade code of package/Pathwick.wxs: each version's product code is made from it.
upgrade_code=6AA01B63-01A4-447F-BAF9-33D2C6ABDB4F

pw_install_deps
cmake -S "$PW_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$PW_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$PW_JOBS" --target Pathwick

version=$(cat "$build/version.txt")
text=$(sed -n 's/^#define PW_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/PathwickVersion.h")
[ -n "$text" ] || { echo "No version text in $build/generated/PathwickVersion.h" >&2; exit 1; }
# One product code per version text: the same build gives the same installer codes, and a build
# with other changes is another product, which the installer refuses over this one.
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
               "$upgrade_code" "Pathwick $text x64")
name="Pathwick-$text-x64"

stage=$(mktemp -d /tmp/pathwick-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
cp "$build/Pathwick.exe" "$PW_ROOT/resources/Pathwick.ico" "$PW_ROOT/package/Pathwick.wxs" "$stage/"

sign() {
  local file=$1
  osslsigncode sign -pkcs12 "$PW_SIGN_CERT" -pass "$PW_SIGN_PASS" -n Pathwick \
               -i https://pathwick.example.com/ -h sha256 -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
  echo "Signed $(basename "$file")"
}
signing=no
if [ -n "${PW_SIGN_CERT:-}" ]; then
  [ -f "$PW_SIGN_CERT" ] || { echo "PW_SIGN_CERT: no such file: $PW_SIGN_CERT" >&2; exit 1; }
  [ -n "${PW_SIGN_PASS+set}" ] || { echo "PW_SIGN_CERT is given without PW_SIGN_PASS" >&2; exit 1; }
  signing=yes
  sign "$stage/Pathwick.exe"
else
  echo "Not signing: PW_SIGN_CERT and PW_SIGN_PASS are not given"
fi

mkdir -p "$dist"
rm -f "$dist/$name.msi" "$dist/$name.zip"
(cd "$stage" && wixl -a x64 -D Version="$version" -D ProductCode="$product_code" -o "$dist/$name.msi" Pathwick.wxs)
[ $signing = yes ] && sign "$dist/$name.msi"

# The portable copy: the files carry the commit's time, and the archive no owner or extra fields.
mkdir "$stage/$name"
cp "$stage/Pathwick.exe" "$stage/$name/"
sed "s/@VERSION@/$text/g" "$PW_ROOT/package/README.txt" | sed 's/$/\r/' >"$stage/$name/README.txt"
stamp=$(git -C "$PW_ROOT" log -1 --format=%ct 2>/dev/null || echo 315532800)
touch -d "@$stamp" "$stage/$name" "$stage/$name"/*
(cd "$stage" && TZ=UTC zip -q -X -r "$dist/$name.zip" "$name")

(cd "$dist" && sha256sum "$name.msi" "$name.zip" >SHA256SUMS)
msi_sha=$(sha256sum "$dist/$name.msi" | cut -d' ' -f1 | tr a-f A-F)
url=${PW_INSTALLER_URL:-https://pathwick.example.com/download/$name.msi}
cat >"$dist/Pathwick-$text.winget.yaml" <<EOF
# winget manifest (singleton) of the Pathwick installer, made by scripts/package.sh.
# InstallerUrl is where the installer will be published: replace it (or set PW_INSTALLER_URL).
PackageIdentifier: QuillmereSoftware.Pathwick
PackageVersion: $text
PackageLocale: en-US
Publisher: Quillmere Software
PublisherUrl: https://pathwick.example.com/
PackageName: Pathwick
License: Proprietary
ShortDescription: A file browser that shows and sets the times and attributes of many files at once.
Installers:
  - Architecture: x64
    InstallerType: msi
    Scope: machine
    InstallerUrl: $url
    InstallerSha256: $msi_sha
    ProductCode: '{$product_code}'
    AppsAndFeaturesEntries:
      - DisplayName: Pathwick
        Publisher: Quillmere Software
        DisplayVersion: $version
        ProductCode: '{$product_code}'
        UpgradeCode: '{$upgrade_code}'
ManifestType: singleton
ManifestVersion: 1.6.0
EOF

echo "Pathwick $text (installer version $version, product code {$product_code}), signed: $signing"
ls -l "$dist/$name.msi" "$dist/$name.zip" "$dist/SHA256SUMS" "$dist/Pathwick-$text.winget.yaml"
