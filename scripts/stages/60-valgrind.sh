# The native test programs under valgrind's memcheck, on the native build of
# the first stage: any use of uninitialised memory, any access outside an
# allocation and any leak fails the stage. Nothing is suppressed. Left out:
# the allocation-counting test, which replaces the allocator just as
# memcheck does, so that under memcheck it would count nothing.
set -euo pipefail
dir=${MASKFIT_VALGRIND_BUILD:-build/native}
mkdir -p "$dir"
cmake -S "$MASKFIT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$dir.configure.log" 2>&1 \
  || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir"
for program in maskfit_tests maskfit_unit_tests maskfit_thread_tests; do
  echo "memcheck: $program"
  valgrind --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --quiet "$dir/bin/$program" --gtest_brief=1
done
