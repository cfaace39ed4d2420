# The shipped artifact: maskfit.dll cross-built with MinGW-w64, tests under Wine.
set -euo pipefail
mkdir -p build
source "$MASKFIT_ROOT/scripts/stages/lib.sh.inc"
export WINEDEBUG=-all
build_and_test "$WINDOWS_TREE" "${WINDOWS_FLAGS[@]}"
