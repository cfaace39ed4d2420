# The thread test alone, built with ThreadSanitizer (clang): several threads
# call every entry point at once, each with its own frame chain, on masks of
# their own and on one board that they all search.
set -euo pipefail
dir=${MASKFIT_TSAN_BUILD:-build/tsan}
mkdir -p "$dir"
cmake -S "$MASKFIT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMASKFIT_TSAN=ON -DMASKFIT_BUILD_TOOLS=OFF \
  >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" --target maskfit_thread_tests
TSAN_OPTIONS="halt_on_error=1 abort_on_error=1" "$dir/bin/maskfit_thread_tests"
