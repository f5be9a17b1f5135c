# Sourced by the scripts: where the cache and the Wine prefix live and which Wine to run.
#
# Orvello.exe is a 32-bit program, and its tests run as one under 32-bit Wine. A kernel started
# without 32-bit support (ia32_emulation=off, as some virtual machines are) cannot run any i386
# program, Wine's 32-bit loader included. There the Windows suite is built as x64 and runs under
# 64-bit Wine in a 64-bit prefix of its own: the same Win32 code, tested at the other width.
: "${root:?}"
# The cache lives outside the work tree, so a fresh clone (CI's) on this machine finds the cross
# libraries, toolchains and Wine prefix already built. Each entry is keyed by what makes it.
export ORVELLO_CACHE=${ORVELLO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvello}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

orvello_runs_i386() {
  local loader=/lib/ld-linux.so.2
  [ -e "$loader" ] || return 0 # not installed yet: setup installs it; assume the usual kernel
  "$loader" --version >/dev/null 2>&1
}

if [ -z "${ORVELLO_WINE_ARCH:-}" ]; then
  if orvello_runs_i386; then ORVELLO_WINE_ARCH=win32; else ORVELLO_WINE_ARCH=win64; fi
fi
export ORVELLO_WINE_ARCH
# A prefix belongs to the Wine that made it.
wine_version=$(dpkg-query -W -f='${Version}' wine 2>/dev/null || echo unknown)
if [ "$ORVELLO_WINE_ARCH" = win32 ]; then
  export WINEPREFIX=${WINEPREFIX:-$ORVELLO_CACHE/wineprefix-$wine_version}
  WINE=$(command -v wine || command -v wine-stable || echo /usr/lib/wine/wine)
  # The preset whose test executable runs under this Wine.
  export ORVELLO_WINDOWS_SUITE=windows
else
  export WINEPREFIX=${WINEPREFIX:-$ORVELLO_CACHE/wineprefix64-$wine_version}
  export WINEARCH=win64
  WINE=/usr/lib/wine/wine64
  export ORVELLO_WINDOWS_SUITE=windows-x64
fi
WINESERVER=$(command -v wineserver || command -v wineserver-stable || echo /usr/lib/wine/wineserver)
export WINE WINESERVER
