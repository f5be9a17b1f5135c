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
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$WINE" "$exe" -simulate "$@"
fi
exec "$WINE" "$exe" -simulate "$@"
