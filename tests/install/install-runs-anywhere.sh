#!/usr/bin/env bash
# `cmake --install` gives a tree that runs from anywhere: installed into a temporary
# prefix, moved to a folder the build never knew, and run from yet another folder with
# the build and source trees out of reach, lumetrix-sim demo draws the very pictures the
# build tree's draws, and lumetrix-colour gives the same colour. No installed file names
# the build or source tree, and every installed search path is $ORIGIN-relative.
#   install-runs-anywhere.sh BUILD SOURCE
set -euo pipefail
build="$(cd "$1" && pwd -P)"
source="$(cd "$2" && pwd -P)"
here="$(cd "$(dirname "$0")" && pwd -P)"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumetrix-install-XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# LeakSanitizer's suppressions (fontconfig's caches) live in the source tree, which the
# runs below hide; a sanitizer build's installed programs run without leak checks there.
if grep -q '^LUMETRIX_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt"; then
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
fi

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
for file in bin/lumetrix-sim bin/lumetrix-colour bin/lumetrix-host lib/lumetrix/libplatform.so lib/lumetrix/libsimcolour.so lib/lumetrix/lumetrix.so \
  lib/lumetrix/lumetrixpref.so share/lumetrix/scenarios/demo.scenario \
  share/lumetrix/device/Library/MobileSubstrate/DynamicLibraries/lumetrix.plist \
  share/lumetrix/device/Library/PreferenceBundles/lumetrixpref.bundle/Root.plist \
  share/lumetrix/device/Library/PreferenceLoader/Preferences/lumetrixpref.plist; do
  [ -f "$work/prefix/$file" ] || fail "not installed: $file"
done
device_package="$(ls "$work"/prefix/share/lumetrix/packages/com.orvanta.lumetrix_*.deb)" || fail "no device package installed"

# Nothing installed may name where it was built, inside the device package included.
# (A sanitizer build keeps the source files' names in its instrumentation, which strip
# leaves; what users install is a plain build.)
mkdir "$work/unpacked"
dpkg-deb -x "$device_package" "$work/unpacked"
if grep -q '^LUMETRIX_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt"; then
  echo "note: a sanitizer build; the build-path check needs a plain one"
elif grep -rlF -e "$build" -e "$source" "$work/prefix" "$work/unpacked"; then
  fail "the files above name the build or source tree"
fi
"$here/check-runpaths.sh" "$work/prefix" --origin-only || fail "installed search paths"

# A path the build never knew.
mv "$work/prefix" "$work/moved"
mkdir "$work/elsewhere"
artwork="$(ls "$work"/moved/share/lumetrix/scenarios/media/*.jpg | head -n 1)"
run_installed() {
  cd "$work/elsewhere"
  "$work/moved/bin/lumetrix-colour" "$artwork" >"$work/colour-installed.txt"
  "$work/moved/bin/lumetrix-sim" demo --out "$work/demo-installed" >"$work/demo-installed.log" 2>&1
}
export -f run_installed
export work artwork
# With the build and source trees hidden behind empty folders in a private mount
# namespace where that is allowed; otherwise the move alone has to do.
if unshare -rm true 2>/dev/null; then
  unshare -rm bash -c "mount -t tmpfs none '$source' && { [ -d '$build' ] && mount -t tmpfs none '$build' || true; } && [ ! -e '$build/CMakeCache.txt' ] && run_installed" \
    || { cat "$work/demo-installed.log" 2>/dev/null; fail "the installed tree with the build tree hidden"; }
else
  echo "note: no private mount namespace here; the installed tree runs moved, with the build tree in place"
  run_installed || { cat "$work/demo-installed.log"; fail "the installed tree"; }
fi

(cd "$work" && "$build/sim/lumetrix-colour" "$artwork" >"$work/colour-build.txt")
cmp "$work/colour-build.txt" "$work/colour-installed.txt" || fail "lumetrix-colour differs: $(cat "$work"/colour-*.txt)"
(cd "$work" && "$build/sim/lumetrix-sim" demo --out "$work/demo-build" >"$work/demo-build.log" 2>&1) || { cat "$work/demo-build.log"; fail "the build tree's demo"; }

pictures="$(cd "$work/demo-build" && find . -name '*.png' | sort)"
[ -n "$pictures" ] || fail "the demo drew no pictures"
[ "$pictures" = "$(cd "$work/demo-installed" && find . -name '*.png' | sort)" ] || fail "the demos drew different sets of pictures"
while IFS= read -r picture; do
  cmp "$work/demo-build/$picture" "$work/demo-installed/$picture" || fail "$picture differs"
done <<<"$pictures"
echo "PASS: $(wc -l <<<"$pictures") demo pictures byte-identical; colour $(cat "$work/colour-installed.txt")"
