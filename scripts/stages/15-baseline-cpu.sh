# The native test programs on an emulated CPU without AVX2 (qemu's Nehalem
# model, on which an AVX2 instruction is an illegal instruction): the shipped
# library must choose its SSE2 kernels there, and they must agree with the
# checked path. Runs on the native build of the first stage.
set -euo pipefail
source "$MASKFIT_ROOT/scripts/stages/lib.sh.inc"
dir=$MASKFIT_ROOT/$NATIVE_TREE
configure_tree "$dir" "${NATIVE_FLAGS[@]}"
cmake --build "$dir"
for program in maskfit_tests maskfit_unit_tests; do
  echo "on a CPU without AVX2: $program"
  qemu-x86_64 -cpu Nehalem "$dir/bin/$program" --gtest_brief=1
done
