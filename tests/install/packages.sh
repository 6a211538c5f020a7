#!/usr/bin/env bash
# Both packages: the tools package (cpack -G DEB) and the device package it carries, read
# with dpkg-deb; lintian finds no errors in the tools package (when installed); and
# `lumetrix-sim run --package` installs the package it is given, not the build's.
#   packages.sh BUILD SOURCE
set -euo pipefail
build="$(cd "$1" && pwd -P)"
source="$(cd "$2" && pwd -P)"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumetrix-packages-XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
has_line() { grep -qxF -e "$2" <<<"$1" || fail "no line '$2' in:"$'\n'"$1"; }
has_text() { grep -qF -e "$2" <<<"$1" || fail "no '$2' in:"$'\n'"$1"; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
version="$(sed -n 's/^#define LUMETRIX_VERSION "\(.*\)"$/\1/p' "$build/generated/LumetrixVersion.h")"
architecture="$(dpkg --print-architecture)"
tools="$work/out/lumetrix_${version}_${architecture}.deb"
[ -f "$tools" ] || fail "no $tools: $(ls "$work/out")"

info="$(dpkg-deb --info "$tools")"
has_text "$info" " Package: lumetrix"
has_text "$info" " Version: $version"
has_text "$info" " Architecture: $architecture"
# Worked out from the binaries by dpkg-shlibdeps, with the font the renderer draws in.
has_text "$info" "libc6 (>="
has_text "$info" "libarchive13"
has_text "$info" "fonts-dejavu-core"
contents="$(dpkg-deb --contents "$tools" | awk '{ print $6 }')"
for file in ./usr/bin/lumetrix-sim ./usr/bin/lumetrix-colour ./usr/bin/lumetrix-host ./usr/lib/lumetrix/libplatform.so ./usr/lib/lumetrix/libsimcolour.so \
  ./usr/lib/lumetrix/lumetrix.so ./usr/lib/lumetrix/lumetrixpref.so ./usr/share/lumetrix/scenarios/demo.scenario \
  ./usr/share/doc/lumetrix/copyright ./usr/share/doc/lumetrix/changelog.gz \
  "./usr/share/lumetrix/packages/com.orvanta.lumetrix_${version}_${architecture}.deb"; do
  has_line "$contents" "$file"
done

dpkg-deb -x "$tools" "$work/tools"
device="$work/tools/usr/share/lumetrix/packages/com.orvanta.lumetrix_${version}_${architecture}.deb"
info="$(dpkg-deb --info "$device")"
for field in "Package: com.orvanta.lumetrix" "Name: Lumetrix" "Version: $version" "Architecture: $architecture" \
  "Section: Tweaks" "Depends: mobilesubstrate, preferenceloader" "Maintainer: " "Description: "; do
  has_text "$info" " $field"
done
contents="$(dpkg-deb --contents "$device" | awk '{ print $6 }')"
for file in ./Library/MobileSubstrate/DynamicLibraries/lumetrix.dylib ./Library/MobileSubstrate/DynamicLibraries/lumetrix.plist \
  ./Library/PreferenceBundles/lumetrixpref.bundle/lumetrixpref.so ./Library/PreferenceBundles/lumetrixpref.bundle/Root.plist \
  ./Library/PreferenceBundles/lumetrixpref.bundle/icon.png ./Library/PreferenceLoader/Preferences/lumetrixpref.plist; do
  has_line "$contents" "$file"
done

if grep -q '^LUMETRIX_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt"; then
  echo "note: a sanitizer build; lintian checks the package of a plain one"
elif command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$tools" >"$work/lintian.txt" 2>&1 || true
  cat "$work/lintian.txt"
  ! grep -q '^E:' "$work/lintian.txt" || fail "lintian reports errors"
else
  echo "note: lintian is not installed; the tools package was not checked by it"
fi

# --package: a device package whose filter names no process installs a tweak that never
# loads, so the lock-screen player is missing; the build's own package has it.
scenario="$work/player.scenario"
printf 'boot\nwait 4\nexpect lockscreen.progressView != null\n' >"$scenario"
"$build/sim/lumetrix-sim" run "$scenario" --package "$device" >"$work/run.log" 2>&1 || { cat "$work/run.log"; fail "run --package with the packaged tweak"; }
dpkg-deb -R "$device" "$work/repacked"
sed -i 's/com\.apple\.springboard/com.example.nothing/' "$work/repacked/Library/MobileSubstrate/DynamicLibraries/lumetrix.plist"
grep -q com.example.nothing "$work/repacked/Library/MobileSubstrate/DynamicLibraries/lumetrix.plist" || fail "the filter was not changed"
dpkg-deb --root-owner-group -b "$work/repacked" "$work/filtered.deb" >/dev/null
if "$build/sim/lumetrix-sim" run "$scenario" --package "$work/filtered.deb" --root "$work/kept" >"$work/run.log" 2>&1; then
  fail "run --package installed the build's tweak instead of the one given"
fi
has_text "$(cat "$work/run.log")" "expected"
has_text "$(cat "$work/kept/var/lib/dpkg/status")" "Package: com.orvanta.lumetrix"
echo "PASS"
