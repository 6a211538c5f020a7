#!/usr/bin/env bash
# lumetrix-colour's worker (libsimcolour.so) exports its one entry. The platform, the tweak
# and the C++ runtime linked into it stay its own: exported, each reference to them would
# be looked up across the process at load, and a second platform would be visible to
# whatever else the process loads.
#   colour-worker-exports.sh WORKER
set -euo pipefail
exports="$(nm -D --defined-only "$1" | awk '{ print $3 }')"
if [ "$exports" != lumetrix_colour_file ]; then
  echo "FAIL: $1 exports $(printf '%s\n' "$exports" | wc -l) symbols, not its entry alone:"
  printf '%s\n' "$exports" | head -20
  exit 1
fi
echo "$1 exports $exports alone"
