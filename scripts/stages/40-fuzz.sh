# Every libFuzzer target for a bounded time, starting from its committed
# seeds. The library and both of its builds are compiled with clang,
# AddressSanitizer, UndefinedBehaviorSanitizer and coverage feedback. A
# finding fails the stage; the input is kept under <build>/findings.
# MASKFIT_FUZZ_SECONDS sets the time per target (default 15).
set -euo pipefail
dir=${MASKFIT_FUZZ_BUILD:-build/fuzz}
seconds=${MASKFIT_FUZZ_SECONDS:-15}
mkdir -p "$dir"
cmake -S "$MASKFIT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMASKFIT_BUILD_FUZZ=ON \
  -DMASKFIT_BUILD_TESTS=OFF -DMASKFIT_BUILD_TOOLS=OFF >"$dir.configure.log" 2>&1 \
  || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" --target fuzzers
mkdir -p "$dir/findings"
failed=()
for fuzzer in "$dir"/bin/fuzz_*; do
  name=${fuzzer##*/fuzz_}
  # New inputs go to the first directory; the committed seeds stay as they are.
  mkdir -p "$dir/corpus/$name"
  if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$dir/findings/$name-" "$dir/corpus/$name" "$MASKFIT_ROOT/fuzz/corpus/$name" \
       >"$dir/$name.log" 2>&1; then
    echo "$name: $(sed -n 's/^#\([0-9]*\)[[:space:]]*DONE *\(cov: [0-9]*\).*/\1 runs, \2/p' "$dir/$name.log")"
  else
    tail -n 40 "$dir/$name.log"
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz findings in: ${failed[*]} (inputs in $dir/findings)"
  exit 1
fi
