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
# No display: a virtual one. The window stays until it is closed, so the run asks the program,
# through its automation channel on 127.0.0.1, for a screenshot and then presses Esc (Cancel); it
# ends the program itself if that does not work within two minutes.
shots="$root/build/$preset/gui-screenshots"
mkdir -p "$shots"
export exe shots
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  out="$shots/run.log"
  port=$((47000 + $$ % 1000))
  ORVELLO_AUTOMATION=$port timeout 120 "$WINE" "$exe" -simulate "$@" >"$out" 2>&1 & program=$!
  # The program says when its window is up.
  for _ in $(seq 60); do
    grep -q "main window shown" "$out" && break
    sleep 1
  done
  sleep 2
  if exec 3<>"/dev/tcp/127.0.0.1/$port"; then
    echo "screenshot Z:$shots/run.bmp" >&3 && read -r -t 20 reply <&3 && echo "screenshot: $reply"
    echo "key 27" >&3 && read -r -t 20 reply <&3
    exec 3<&-
  fi
  wait "$program"; code=$?
  cat "$out"
  echo "exit code $code"
  convert "$shots/run.bmp" "$shots/run.png" 2>/dev/null && echo "screenshot: $shots/run.png"
  "$WINESERVER" -k 2>/dev/null || true
' run "$@"
