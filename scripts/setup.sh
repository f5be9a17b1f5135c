#!/usr/bin/env bash
# Prepares this machine for building and testing Orvello. Idempotent: when everything is already
# present it only checks and returns within seconds.
#   packages  - compilers (native and mingw-w64), Wine (32-bit), Xvfb, the libraries of the Linux build
#   cross     - pugixml, zlib+minizip and GoogleTest cross-built for i686 and x86_64 mingw-w64
#   arm64     - an aarch64-w64-mingw32 toolchain (clang, lld, mingw-w64, libc++) for devconARM64.exe
#   wine      - a private Wine prefix under the cache (64-bit where the kernel runs no i386 code)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
mkdir -p "$build"

log() { printf '[setup] %s\n' "$*"; }

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates dpkg-dev file
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-i686
  g++-mingw-w64-i686-win32
  clang-14 lld-14 llvm-14
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick fonts-wine fonts-noto-cjk fonts-thai-tlwg fonts-dejavu-core
  libpugixml-dev zlib1g-dev libminizip-dev nlohmann-json3-dev libgtest-dev libgmock-dev googletest
  libbenchmark-dev clang-format zip unzip iproute2 python3
  python3-asn1crypto osslsigncode openssl # the driver package's catalogue: written, signed, checked
)

need_install() {
  local p
  for p in "${packages[@]}"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = 'install ok installed' ] || return 0
  done
  return 1
}

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

enable_deb_src() {
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && ! grep -q 'deb-src' "$f"; then
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
    return 0
  fi
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list &&
    ! grep -q '^deb-src ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee -a /etc/apt/sources.list >/dev/null
    return 0
  fi
  return 1
}

# (Outputs are captured first: with pipefail, grep -q closing the pipe early would read as a failure.)
foreign=$(dpkg --print-foreign-architectures)
sources=$(apt-cache showsrc zlib 2>/dev/null || true)
if need_install || ! grep -qx i386 <<<"$foreign" || ! grep -q '^Version:' <<<"$sources"; then
  log "installing packages"
  export DEBIAN_FRONTEND=noninteractive
  grep -qx i386 <<<"$foreign" || as_root dpkg --add-architecture i386
  enable_deb_src || true
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

"$root/scripts/cross-deps.sh"
"$root/scripts/arm64-toolchain.sh"
"$root/scripts/wine-prefix.sh"
log "ready"
