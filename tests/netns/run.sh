#!/usr/bin/env bash
# The network search for real: inside a private network namespace made here (never in the machine's
# own), the simulated network printer stands for many printers and the search broadcasts to it.
# Usage: tests/netns/run.sh <linux build dir> [<windows build dir> <wine>]
#   runs the Linux search, and the Windows one under Wine when its build is given.
# Prints each search's listing and its figure; exits non-zero when a search lists other than the
# expected printers. As root it makes a network namespace; otherwise a user namespace with one.
set -euo pipefail
if [ "${ORVELLO_IN_NETNS:-}" != 1 ]; then
  as=(-n)
  [ "$(id -u)" = 0 ] || as=(-r -n)
  exec env ORVELLO_IN_NETNS=1 unshare "${as[@]}" -- "$0" "$@"
fi
linux=$1
windows=${2:-}
wine=${3:-}
printers=${ORVELLO_NETNS_PRINTERS:-500}

# Only the loopback device exists here; give it a second address and a route for the limited
# broadcast, so that 255.255.255.255 reaches the listeners of this namespace and nothing else.
ip link set lo up
ip addr add 10.77.0.1/24 dev lo
ip route add broadcast 255.255.255.255 dev lo table local

status=0
search() { # <label> <command...>
  local label=$1
  shift
  echo "== $label"
  "$linux/tools/netprinter/orvello-netprinter" --any-sender --seconds 20 \
    --printer "name=LP,model=JN-2203T-S,mac=00:1B:44:00:00:00,copies=$printers" \
    --printer "name=OTHER,model=TV-B58,mac=00:1B:44:FF:00:01" \
    --printer "name=BROKEN,model=JN-2203T-S,mac=00:1B:44:FF:00:02,malformed=no-marker" \
    --printer "name=HUGE,model=JN-2203T-S,mac=00:1B:44:FF:00:03,malformed=oversized" \
    --printer "name=NOISE,malformed=garbage" &
  local responder=$!
  sleep 0.5
  if ! timeout 60 "$@" --model JN-2203T-S --expect $((printers + 1)) --broadcasts 10 | tail -n 3; then
    echo "!! $label: the search did not list exactly $((printers + 1)) printers"
    status=1
  fi
  kill "$responder" 2>/dev/null || true
  wait "$responder" 2>/dev/null || true
}
search "linux search" "$linux/tests/orvello_netns_search"
if [ -n "$windows" ] && [ -n "$wine" ] && [ -e "$windows/tests/orvello_netns_search.exe" ]; then
  search "windows search under wine" "$wine" "$windows/tests/orvello_netns_search.exe"
fi

# The command line's search, with its default broadcast: every printer that answers, once each.
echo "== command line search (orvello /search /udp)"
"$linux/tools/netprinter/orvello-netprinter" --any-sender --seconds 15 \
  --printer "name=CL,model=JN-2203T-S,mac=00:1B:44:00:00:00,copies=3" \
  --printer "name=OTHER,model=TV-B58,mac=00:1B:44:FF:00:01" &
responder=$!
sleep 0.5
listed=$(timeout 30 "$linux/src/main/orvello" -simulate /search /udp /json /quiet /timeout:2 |
  python3 -c 'import json, sys; print(" ".join(sorted(p["mac"] for p in json.load(sys.stdin)["network"])))') || listed="(failed)"
echo "listed: $listed"
[ "$listed" = "00:1B:44:00:00:00 00:1B:44:00:00:01 00:1B:44:00:00:02 00:1B:44:FF:00:01" ] ||
  { echo "!! the command line's search did not list the four printers once each"; status=1; }
kill "$responder" 2>/dev/null || true
wait "$responder" 2>/dev/null || true
exit $status
