#!/usr/bin/env bash
# Cross-builds the third-party libraries of the Windows programs from Debian's own sources:
# pugixml and zlib (with its contrib/minizip) from `apt-get source`, GoogleTest from
# /usr/src/googletest, and nlohmann/json's headers from its -dev package. Results are cached in
# $ORVELLO_CACHE/cross/<arch> and rebuilt only when the stamp is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
cache=$ORVELLO_CACHE
src="$cache/src"
mkdir -p "$src"
log() { printf '[cross-deps] %s\n' "$*"; }

fetch() { # fetch <source package> -> prints the unpacked folder
  local pkg=$1 dir
  dir=$(find "$src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | sort | tail -n 1)
  if [ -z "$dir" ]; then
    log "apt-get source $pkg" >&2
    # The newest version's source may be missing from a mirror (security updates): fall back to older ones.
    local v ok=
    for v in "" $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -r -V | uniq); do
      if (cd "$src" && apt-get source -qq "$pkg${v:+=$v}" >/dev/null 2>&1); then ok=1; break; fi
    done
    [ -n "$ok" ] || { log "apt-get source $pkg failed" >&2; exit 1; }
    dir=$(find "$src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | sort | tail -n 1)
  fi
  printf '%s\n' "$dir"
}

pugixml_src=$(fetch pugixml)
zlib_src=$(fetch zlib)
stamp_id="v3|$(basename "$pugixml_src")|$(basename "$zlib_src")|$(dpkg-query -W -f='${Version}' googletest)"

for arch in i686 x86_64; do
  prefix="$cache/cross/$arch"
  stamp="$prefix/.stamp"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_id" ]; then continue; fi
  log "building for $arch-w64-mingw32"
  rm -rf "$prefix" "$cache/cross-build/$arch"
  tc="$root/cmake/toolchain-mingw-$arch.cmake"
  common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
    -DBUILD_SHARED_LIBS=OFF -Wno-dev)
  b="$cache/cross-build/$arch"
  cmake -S "$pugixml_src" -B "$b/pugixml" "${common[@]}" -DPUGIXML_BUILD_TESTS=OFF >/dev/null
  cmake --build "$b/pugixml" --target install >/dev/null
  cmake -S "$root/cmake/deps/zlib-minizip" -B "$b/zlib" "${common[@]}" -DZLIB_SOURCE_DIR="$zlib_src" >/dev/null
  cmake --build "$b/zlib" --target install >/dev/null
  cmake -S /usr/src/googletest -B "$b/googletest" "${common[@]}" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$b/googletest" --target install >/dev/null
  mkdir -p "$prefix/include"
  cp -r /usr/include/nlohmann "$prefix/include/"
  printf '%s' "$stamp_id" >"$stamp"
done
