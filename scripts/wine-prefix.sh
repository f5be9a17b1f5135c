#!/usr/bin/env bash
# Creates the private Wine prefix the Windows programs run in ($ORVELLO_CACHE/wineprefix), once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
if [ ! -f "$WINEPREFIX/.orvello-ready" ]; then
  printf '[wine] creating prefix %s\n' "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER" -w || true
  [ -f "$WINEPREFIX/system.reg" ] || { echo "[wine] wineboot failed" >&2; exit 1; }
  touch "$WINEPREFIX/.orvello-ready"
fi
