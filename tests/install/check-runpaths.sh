#!/usr/bin/env bash
# Fails when a program or library under FOLDER (a build tree or an installed tree) names a
# library search path that depends on where it is run from: an empty RUNPATH/RPATH element
# (the current folder) or a relative one. Absolute and $ORIGIN-relative ones are fine.
#   check-runpaths.sh FOLDER [--origin-only]   (--origin-only: only $ORIGIN-relative)
set -euo pipefail
folder="$1"
origin_only="${2:-}"
checked=0
bad=0
while IFS= read -r -d '' file; do
  # ELF programs and shared libraries only (executable files and *.so are the candidates).
  [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
  type="$(readelf -h "$file" | sed -n 's/^ *Type: *\([A-Z]*\).*/\1/p')"
  [ "$type" = EXEC ] || [ "$type" = DYN ] || continue
  checked=$((checked + 1))
  while IFS= read -r paths; do
    rest="$paths"
    while :; do
      element="${rest%%:*}"
      case "$element" in
        '') echo "$file: empty search path element in '$paths' (the current folder)"; bad=1 ;;
        '$ORIGIN' | '$ORIGIN/'*) ;;
        /*) if [ -n "$origin_only" ]; then echo "$file: absolute search path '$element'"; bad=1; fi ;;
        *) echo "$file: relative search path '$element' in '$paths'"; bad=1 ;;
      esac
      [[ "$rest" == *:* ]] || break
      rest="${rest#*:}"
    done
  done < <(readelf -d "$file" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]$/\2/p')
done < <(find "$folder" -type f -not -path '*/CMakeFiles/*' \( -perm -u+x -o -name '*.so' -o -name '*.so.*' \) -print0)
if [ "$checked" -eq 0 ]; then
  echo "no programs or libraries under $folder"
  exit 1
fi
echo "$checked programs and libraries checked"
exit "$bad"
