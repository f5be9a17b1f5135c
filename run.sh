#!/usr/bin/env bash
# Sets up the machine, builds Orvello.exe and starts it under Wine on the embedded demo machine
# (-simulate). Without a display it runs on a virtual one (Xvfb). Extra arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
./scripts/setup.sh
. scripts/env.sh
# Orvello.exe is 32-bit; where the kernel runs no 32-bit programs its x64 build stands in.
preset=windows
settings=()
if [ "$ORVELLO_WINDOWS_SUITE" = windows-x64 ]; then
  echo "this kernel runs no 32-bit programs: starting the x64 build of Orvello.exe" >&2
  preset=windows-x64
  settings=(-DORVELLO_TOOLS_ONLY=OFF)
fi
cmake --preset "$preset" "${settings[@]}" >/dev/null
cmake --build --preset "$preset" -j "$(nproc 2>/dev/null || echo 2)" --target Orvello
exe="$root/build/$preset/src/main/Orvello.exe"
if [ -n "${DISPLAY:-}" ]; then
  exec "$WINE" "$exe" -simulate "$@"
fi
# No display: a virtual one. The window stays until it is closed, so the run takes a screenshot
# once the window is there and then ends the program (within two minutes in any case).
shots="$root/build/$preset/gui-screenshots"
mkdir -p "$shots"
export exe shots
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  out="$shots/run.log"
  timeout 120 "$WINE" "$exe" -simulate "$@" >"$out" 2>&1 & program=$!
  # The program says when its window is up.
  for _ in $(seq 60); do
    grep -q "main window shown" "$out" && break
    sleep 1
  done
  sleep 2
  cat "$out"
  import -window root "$shots/run.png" && echo "screenshot: $shots/run.png"
  "$WINESERVER" -k 2>/dev/null || true
  wait "$program" 2>/dev/null || true
' run "$@"
