#!/usr/bin/env bash
# Sets up the machine, builds Orvello.exe and starts it under Wine on the embedded demo machine
# (-simulate). Without a display it runs on a virtual one (Xvfb). Extra arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
./scripts/setup.sh
. scripts/env.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target Orvello
exe="$root/build/windows/src/main/Orvello.exe"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$WINE" "$exe" -simulate "$@"
fi
exec "$WINE" "$exe" -simulate "$@"
