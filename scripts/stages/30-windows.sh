# The shipped artifact: maskfit.dll cross-built with MinGW-w64, tests under Wine.
set -euo pipefail
mkdir -p build
source "$MASKFIT_ROOT/scripts/stages/lib.sh.inc"
export WINEDEBUG=-all
build_and_test build/windows -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$MASKFIT_ROOT/cmake/mingw-w64-x86_64.cmake"
