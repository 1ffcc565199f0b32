#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS under the address and
# undefined-behaviour sanitizers, two at a time, each on its own corpus in build-fuzz (the seeds
# of fuzz/seeds/<target> added to what earlier runs found). Exits non-zero when any target finds
# a crash, a hang or a leak, naming the target and the input that shows it.
#   scripts/fuzz.sh SECONDS [TARGET...]     e.g. scripts/fuzz.sh 240 ini postscript
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "SECONDS must be a number" >&2; exit 2; }
build_dir=${BUILD_DIR:-build-fuzz}
parallel=${FUZZ_PARALLEL:-2}

scripts/install-deps.sh
missing=()
for package in clang libclang-rt-14-dev; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DGUI_FUZZ=ON >/dev/null
ninja -C "$build_dir" -j"$parallel" fuzz_all

if [[ $# -gt 0 ]]; then
  targets=("$@")
else
  targets=()
  for seeds in fuzz/seeds/*/; do targets+=("$(basename "$seeds")"); done
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Runs one target; its log and any failing input stay under $build_dir/fuzz-runs/<target>.
run_target() {
  local target=$1
  local run_dir="$build_dir/fuzz-runs/$target"
  mkdir -p "$run_dir/corpus" "$run_dir/artifacts"
  cp -n fuzz/seeds/"$target"/* "$run_dir/corpus/" 2>/dev/null || true
  "$build_dir/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$run_dir/artifacts/" \
    "$run_dir/corpus" >"$run_dir/log" 2>&1
}

declare -A pids=()
failed=()
finish() {
  local target=$1
  local log="$build_dir/fuzz-runs/$target/log"
  if wait "${pids[$target]}"; then
    echo "fuzz_$target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" |
      grep -o '[0-9]*$') runs, nothing found"
  else
    local input
    input=$(grep -o 'Test unit written to .*' "$log" | tail -1 | sed 's/Test unit written to //' || true)
    echo "fuzz_$target FOUND: $(grep -m1 -E '^==[0-9]+==ERROR|SUMMARY|deadly signal' "$log" ||
      echo 'see log')"
    echo "  input: ${input:-none written}  log: $log"
    failed+=("$target")
  fi
  unset "pids[$target]"
}

running=()
for target in "${targets[@]}"; do
  if [[ ! -x "$build_dir/fuzz_$target" ]]; then
    echo "no fuzz target fuzz_$target" >&2
    failed+=("$target")
    continue
  fi
  echo "running fuzz_$target for ${seconds}s"
  run_target "$target" &
  pids[$target]=$!
  running+=("$target")
  if [[ ${#running[@]} -ge $parallel ]]; then
    finish "${running[0]}"
    running=("${running[@]:1}")
  fi
done
for target in "${running[@]}"; do finish "$target"; done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzzing found problems in: ${failed[*]}"
  exit 1
fi
echo "fuzzing found nothing in ${#targets[@]} targets"
