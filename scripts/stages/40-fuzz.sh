# Every libFuzzer target for a bounded time, starting from its committed
# seeds. The library and both of its builds are compiled with clang,
# AddressSanitizer, UndefinedBehaviorSanitizer and coverage feedback. Then
# every input the run kept or found is replayed through the shipped
# compilers' code: the GCC-built .so and, under Wine, the DLL. A finding of
# either fails the stage; the inputs are kept under <build>/findings.
# MASKFIT_FUZZ_SECONDS sets the time per target (default 15).
set -euo pipefail
source "$MASKFIT_ROOT/scripts/stages/lib.sh.inc"
dir=${MASKFIT_FUZZ_BUILD:-build/fuzz}
seconds=${MASKFIT_FUZZ_SECONDS:-15}
mkdir -p "$dir"
cmake -S "$MASKFIT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMASKFIT_BUILD_FUZZ=ON \
  -DMASKFIT_BUILD_TESTS=OFF -DMASKFIT_BUILD_TOOLS=OFF >"$dir.configure.log" 2>&1 \
  || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" --target fuzzers
# The replay programs of both shipped builds (built already when the native
# and Windows stages ran before).
for tree in "$NATIVE_TREE" "$WINDOWS_TREE"; do
  flags=("${NATIVE_FLAGS[@]}")
  [ "$tree" = "$WINDOWS_TREE" ] && flags=("${WINDOWS_FLAGS[@]}")
  [ -f "$tree/build.ninja" ] || configure_tree "$tree" "${flags[@]}"
  cmake --build "$tree" --target fuzzers
done
export WINEDEBUG=-all

# Replays inputs through one shipped build; its log names the input that broke a rule.
replay() {
  local log=$1; shift
  "$@" >"$log" 2>&1 || { tail -n 5 "$log"; return 1; }
}

mkdir -p "$dir/findings"
failed=()
for fuzzer in "$dir"/bin/fuzz_*; do
  name=${fuzzer##*/fuzz_}
  # New inputs go to the first directory; the committed seeds stay as they are.
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$dir/findings/$name-" "$corpus" "$MASKFIT_ROOT/fuzz/corpus/$name" \
       >"$dir/$name.log" 2>&1; then
    echo "$name: $(sed -n 's/^#\([0-9]*\)[[:space:]]*DONE *\(cov: [0-9]*\).*/\1 runs, \2/p' "$dir/$name.log")"
  else
    tail -n 40 "$dir/$name.log"
    failed+=("$name")
  fi
  inputs=("$corpus" "$MASKFIT_ROOT/fuzz/corpus/$name")
  for finding in "$dir/findings/$name-"*; do
    [ -e "$finding" ] && inputs+=("$finding")
  done
  replay "$dir/$name.gcc.log" "$NATIVE_TREE/bin/fuzz_replay_$name" "${inputs[@]}" \
    && replay "$dir/$name.dll.log" "$WINE" "$WINDOWS_TREE/bin/fuzz_replay_$name.exe" "${inputs[@]}" \
    && echo "  replayed by the shipped builds: $(tail -n 1 "$dir/$name.gcc.log")" \
    || { echo "$name: the shipped builds break a rule on a kept input (logs: $dir/$name.gcc.log, .dll.log)"; failed+=("$name"); }
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz findings in: ${failed[*]} (inputs in $dir/findings, $dir/corpus)"
  exit 1
fi
