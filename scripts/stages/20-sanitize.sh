# The same suite with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
mkdir -p build
source "$MASKFIT_ROOT/scripts/stages/lib.sh.inc"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build_and_test build/sanitize -DCMAKE_BUILD_TYPE=Debug -DMASKFIT_SANITIZE=ON
