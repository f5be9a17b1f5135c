#!/usr/bin/env bash
# Sets up the machine, builds the Linux and Windows programs and runs every test suite:
# the Linux suite natively and the Windows test executable under Wine. Ends with one line
# "N passed, N failed, N skipped" over all suites; exits non-zero when anything failed.
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

./scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }
. scripts/env.sh

results="$root/build/test-results"
rm -rf "$results"
mkdir -p "$results"
failed_steps=()

step() { # step <name> <command...>: runs a build step, remembers a failure
  local name=$1
  shift
  echo "== $name"
  if ! "$@"; then
    echo "!! $name failed"
    failed_steps+=("$name")
    return 1
  fi
}

build_preset() {
  cmake --preset "$1" >"$results/configure-$1.log" 2>&1 || { cat "$results/configure-$1.log"; return 1; }
  cmake --build --preset "$1" -j "$jobs"
}

linux_ok=0 windows_ok=0
step "build linux" build_preset linux && linux_ok=1
step "build windows" build_preset windows && windows_ok=1
step "build windows-x64" build_preset windows-x64

if [ $linux_ok = 1 ]; then
  echo "== linux suite"
  timeout 1800 build/linux/tests/orvello_tests --gtest_brief=1 --gtest_output="json:$results/linux.json" ||
    failed_steps+=("linux suite")
fi
if [ $windows_ok = 1 ]; then
  echo "== windows suite (under Wine)"
  (cd "$results" && timeout 1800 "$WINE" "$root/build/windows/tests/orvello_tests.exe" --gtest_brief=1 \
    --gtest_output=json:windows.json) || failed_steps+=("windows suite")
  "$WINESERVER" -k 2>/dev/null || true
fi

python3 tools/ci/sum_results.py "$results" "${#failed_steps[@]}"
