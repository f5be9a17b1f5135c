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

build_preset() { # build_preset <preset> [cache settings...]
  local preset=$1
  shift
  cmake --preset "$preset" "$@" >"$results/configure-$preset.log" 2>&1 ||
    { cat "$results/configure-$preset.log"; return 1; }
  cmake --build --preset "$preset" -j "$jobs"
}

# Where this machine cannot run 32-bit programs (see scripts/env.sh), the 64-bit build also makes
# the test executable, and that is the Windows suite run under Wine.
x64_settings=(-DORVELLO_TOOLS_ONLY=ON -DORVELLO_TESTS=OFF)
if [ "$ORVELLO_WINDOWS_SUITE" = windows-x64 ]; then
  echo "== this kernel runs no 32-bit programs: the Windows suite runs as x64 under 64-bit Wine"
  x64_settings=(-DORVELLO_TOOLS_ONLY=OFF -DORVELLO_TESTS=ON)
fi

# Rules a compiler does not hold: the layers' includes and the code's format.
step "layering check" python3 tools/ci/check_layers.py
step "format check" tools/ci/check_format.sh

linux_ok=0 windows_ok=0 x64_ok=0
step "build linux" build_preset linux && linux_ok=1
# The ARM64 device-console tool first: the windows build gathers it beside devcon32.exe.
step "build windows-arm64" build_preset windows-arm64
# Each skin archive packs the driver DLLs and device-console tools of all three architectures
# (cmake/DriverPackage.cmake), taken from the other presets' build folders when it is configured:
# their DLLs and tools first, then each build in full (configuring again finds them).
package_parts() { # package_parts <preset> "<targets>" [cache settings...]
  local preset=$1 targets=$2
  shift 2
  cmake --preset "$preset" "$@" >"$results/configure-$preset.log" 2>&1 ||
    { cat "$results/configure-$preset.log"; return 1; }
  # shellcheck disable=SC2086 # the targets are words
  cmake --build --preset "$preset" -j "$jobs" --target $targets
}
driver_parts="CorvaneExUniNew CorvaneExUiNew CorvaneExLM"
step "driver parts windows" package_parts windows "$driver_parts devcon32"
step "driver parts windows-x64" package_parts windows-x64 "$driver_parts devcon64" "${x64_settings[@]}"
step "build windows" build_preset windows && windows_ok=1
# No ARM64 Windows or Wine here to run it: check what the gathered program is instead.
[ $windows_ok = 1 ] &&
  step "check devconARM64.exe" scripts/check-devcon-arm64.sh build/windows/tools/devcon/devconARM64.exe
step "build windows-x64" build_preset windows-x64 "${x64_settings[@]}" && x64_ok=1
# Each skin archive's driver catalogue, checked with osslsigncode against the files packed beside it,
# and scripts/sign-package.sh on the first (a tools-only windows-x64 build packs no archive).
catalogue_builds=()
[ $windows_ok = 1 ] && catalogue_builds+=(build/windows)
[ $x64_ok = 1 ] && [ -f build/windows-x64/resources/skin.zip ] && catalogue_builds+=(build/windows-x64)
[ $linux_ok = 1 ] && catalogue_builds+=(build/linux)
[ ${#catalogue_builds[@]} = 0 ] ||
  step "driver catalogue" tests/package/run.sh "${catalogue_builds[@]}"
[ "$ORVELLO_WINDOWS_SUITE" = windows-x64 ] && windows_ok=$x64_ok

if [ $linux_ok = 1 ]; then
  echo "== linux suite"
  timeout 1800 build/linux/tests/orvello_tests --gtest_brief=1 --gtest_output="json:$results/linux.json" ||
    { echo "!! linux suite failed (exit $?)"; failed_steps+=("linux suite"); }
fi
# ThreadSanitizer over the suites whose code runs threads of its own; only their executable is built.
# A report ends the run with a non-zero exit, and that fails the step.
tsan_suites='LogFile.*:BackgroundCommands.*:OutputCapture.*:RunDeviceTool.*:DeviceToolHost.*:SingleInstance.*'
tsan_suites+=':SimProcessesTest.*:SimSharedState.*:MessageLog.*:MsgLogControl.*:PrivateMessages.*:Startup.*:StartupContext.*:UdpSearch.*:OperationDispatch.*:CompleteInstall.*:*CompleteUsbInstall.*:UnattendedRun.*:BluetoothSearch.*:BluetoothPairing.*:BluetoothInstall.*:DlgLoading.*'
if step "build linux-tsan" build_preset linux-tsan; then
  echo "== linux threaded suites under ThreadSanitizer"
  TSAN_OPTIONS="halt_on_error=1" timeout 1800 setarch "$(uname -m)" -R \
    build/linux-tsan/tests/orvello_tests --gtest_brief=1 --gtest_filter="$tsan_suites" ||
    failed_steps+=("linux threaded suites under ThreadSanitizer")
fi
# Every run on this machine shares one Wine prefix, and each Wine step ends with wineserver -k: a
# second run at the same time (another clone's test.sh) would kill or confuse this one's programs.
# Runs take turns from here on; the lock goes with the process.
exec 9>"$ORVELLO_CACHE/wine.lock"
flock -w 3600 9 || echo "!! another run has held the Wine prefix for an hour: going on without it"
# Programs left in the prefix by an earlier run (a test program killed by a timeout, a wizard left
# open) would share this run's wineserver, its named objects and its ports: stop them first.
"$WINESERVER" -k 2>/dev/null || true
if [ $windows_ok = 1 ]; then
  echo "== windows suite (under Wine)"
  # The window tests need a display: a virtual one when there is none.
  display=()
  [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null && display=(xvfb-run -a -s "-screen 0 1280x800x24")
  (cd "$results" && timeout 1800 "${display[@]}" "$WINE" "$root/build/$ORVELLO_WINDOWS_SUITE/tests/orvello_tests.exe" \
    --gtest_brief=1 --gtest_output=json:windows.json) ||
    { echo "!! windows suite failed (exit $?)"; failed_steps+=("windows suite"); }
  "$WINESERVER" -k 2>/dev/null || true
fi
# The GUI suite: Orvello.exe under Wine on its own virtual display, driven over 127.0.0.1 by a Linux
# client; each run is bounded (the client kills a program that does not end) and Wine is stopped after.
if [ $linux_ok = 1 ] && [ $windows_ok = 1 ]; then
  echo "== gui suite (Orvello.exe under Wine and Xvfb)"
  shots="$root/build/test-results/gui-screenshots"
  mkdir -p "$shots"
  ORVELLO_GUI_EXE="$root/build/$ORVELLO_WINDOWS_SUITE/src/main/Orvello.exe" ORVELLO_GUI_SHOTS="$shots" WINE="$WINE" \
    timeout 600 build/linux/tests/orvello_gui_tests --gtest_brief=1 --gtest_output="json:$results/gui.json" ||
    failed_steps+=("gui suite")
  "$WINESERVER" -k 2>/dev/null || true
  echo "screenshots: $shots"
fi

# The network search for real, broadcast included, inside a private network namespace that the
# script makes (never the machine's own): the Linux search, and the Windows one under Wine.
if [ $linux_ok = 1 ]; then
  netns_windows=()
  [ $windows_ok = 1 ] && netns_windows=("build/$ORVELLO_WINDOWS_SUITE" "$WINE")
  step "network search in a private network namespace" tests/netns/run.sh build/linux "${netns_windows[@]}"
  "$WINESERVER" -k 2>/dev/null || true
fi

python3 tools/ci/sum_results.py "$results" "${#failed_steps[@]}"
