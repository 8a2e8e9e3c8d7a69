#!/usr/bin/env bash
# The floors of the core include only downward: base/ nothing above it,
# platform/ base/, data/ base/ and platform/, store/ those and data/. Prints
# each include that reaches up and exits 1 when there is one.
#   tools/check-layers.sh [SOURCE_FOLDER]
set -u
cd "${1:-$(dirname "$0")/..}"
status=0
check() {  # floor, the floors it may include
  local floor=$1; shift
  local allowed="$floor $*"
  while IFS= read -r hit; do
    local target=${hit#*\"}; target=${target%%/*}
    case " $allowed " in *" $target "*) ;; *) echo "src/$floor includes upward: $hit"; status=1 ;; esac
  done < <(grep -H -o '#include "[a-z]*/[^"]*"' src/"$floor"/*.h src/"$floor"/*.cpp 2>/dev/null)
}
check base
check platform base
check data base platform
check store base platform data
exit $status
