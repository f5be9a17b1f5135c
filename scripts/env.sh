# Sourced by the scripts: where the cache and the Wine prefix live and which Wine to run.
: "${root:?}"
export ORVELLO_CACHE=${ORVELLO_CACHE:-$root/build/cache}
export WINEPREFIX=${WINEPREFIX:-$ORVELLO_CACHE/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE=$(command -v wine || command -v wine-stable || echo /usr/lib/wine/wine)
WINESERVER=$(command -v wineserver || command -v wineserver-stable || echo /usr/lib/wine/wineserver)
export WINE WINESERVER
