#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
# --sanitize runs the suite again in a build with the address and undefined sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

run_suite() {
  local build_dir=$1
  shift
  BUILD_DIR=$build_dir scripts/build.sh "$@"
  ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 300
}

run_suite build
if [[ "${1:-}" == "--sanitize" ]]; then
  export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp"
  run_suite build-sanitize -DGUI_SANITIZE=ON
fi
