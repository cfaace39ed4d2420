# Linux x86-64 build: the library, its literal twin, tests and demo.
set -euo pipefail
mkdir -p build
source "$MASKFIT_ROOT/scripts/stages/lib.sh.inc"
build_and_test "$NATIVE_TREE" "${NATIVE_FLAGS[@]}"
