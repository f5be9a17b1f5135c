#!/usr/bin/env bash
# Builds the aarch64-w64-mingw32 toolchain that makes devconARM64.exe, from Debian 12 only:
#   compiler, linker, archiver, dlltool   Debian's clang-14, lld-14 and llvm-14 packages, as installed
#   mingw-w64 headers and C runtime        `apt-get source mingw-w64`, configured for ARM64
#   compiler-rt builtins, libc++abi, libc++  the runtime folders of `apt-get source llvm-toolchain-14`
# The C++ libraries are static and built without exceptions (the tool's code throws and catches
# nothing); libc++ uses the Win32 thread API, so no winpthreads is needed.
#
# Result: $ORVELLO_CACHE/toolchain-aarch64-<key>, with bin/aarch64-w64-mingw32-{clang,clang++,...},
# and the link $ORVELLO_CACHE/toolchain-aarch64 to it (cmake/toolchain-mingw-aarch64.cmake reads
# that). The key names the source packages, the compiler and this script's version, so a change of
# any of them builds a new toolchain; a finished one carries a stamp and is only checked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
cache=$ORVELLO_CACHE
script_version=2
jobs=2
log() { printf '[arm64-toolchain] %s\n' "$*" >&2; }

llvm=/usr/lib/llvm-14
src_version() { apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -r -V | head -n 1; }
mingw_version=$(src_version mingw-w64)
llvm_version=$(src_version llvm-toolchain-14)
clang_version=$(dpkg-query -W -f='${Version}' clang-14 2>/dev/null || true)
for v in mingw_version llvm_version clang_version; do
  [ -n "${!v}" ] || { log "no $v: are clang-14 installed and deb-src enabled (scripts/setup.sh)?"; exit 1; }
done
key=$(printf 'mingw%s_llvm%s_clang%s_s%s' "${mingw_version#*:}" "${llvm_version#*:}" "${clang_version#*:}" \
  "$script_version" | tr -c 'A-Za-z0-9._+\n-' '_')
prefix="$cache/toolchain-aarch64-$key"
sysroot="$prefix/aarch64-w64-mingw32"
stamp="$prefix/.stamp"
current="$cache/toolchain-aarch64"

point_current() { # the link the CMake toolchain file follows, replaced in one step
  [ "$(readlink "$current" 2>/dev/null)" = "$(basename "$prefix")" ] && return 0
  ln -sfn "$(basename "$prefix")" "$current.tmp.$$"
  mv -T "$current.tmp.$$" "$current"
}

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; then
  point_current
  exit 0
fi

start=$(date +%s)
log "building $prefix"
work="$cache/toolchain-aarch64-build"
rm -rf "$prefix" "$work"
mkdir -p "$work" "$cache/src" "$prefix/bin"

# --- sources --------------------------------------------------------------------------------
fetch() { # fetch <source package> <version>: downloads it into $cache/src, once
  local pkg=$1 version=$2
  if ! ls "$cache/src/${pkg}_${version#*:}".dsc >/dev/null 2>&1; then
    log "apt-get source --download-only $pkg=$version"
    (cd "$cache/src" && apt-get source --download-only -qq "$pkg=$version" >/dev/null)
  fi
}
fetch mingw-w64 "$mingw_version"
fetch llvm-toolchain-14 "$llvm_version"

# mingw-w64 is small: unpacked whole, with Debian's patches.
mingw_src="$work/mingw-w64"
dpkg-source --no-check -x "$cache/src/mingw-w64_${mingw_version#*:}.dsc" "$mingw_src" >/dev/null
# llvm-toolchain-14 is the whole LLVM project: only the runtime libraries and the CMake code they use,
# from its upstream tarball. Debian's patches to these folders concern tests, other architectures
# and the link flags of shared libraries, none of which is built here, so they are not applied.
llvm_upstream=$(sed 's/-[^-]*$//' <<<"${llvm_version#*:}")
llvm_orig="$cache/src/llvm-toolchain-14_$llvm_upstream.orig.tar.xz"
top="llvm-toolchain-14_$llvm_upstream"
log "unpacking the runtime folders of $(basename "$llvm_orig")"
tar xJf "$llvm_orig" -C "$work" "$top/cmake" "$top/llvm/cmake" "$top/llvm/utils/llvm-lit" "$top/runtimes" \
  "$top/libcxx" "$top/libcxxabi" "$top/compiler-rt"
llvm_src="$work/$top"

# --- compiler drivers -------------------------------------------------------------------------
# Debian's clang, pointed at this sysroot and at a resource folder of our own (clang's headers from
# the package, compiler-rt's builtins from us); lld links, compiler-rt replaces libgcc.
resource="$prefix/lib/clang"
mkdir -p "$resource/lib/windows"
ln -s "$("$llvm/bin/clang" -print-resource-dir)/include" "$resource/include"
driver() { # driver <name> <clang mode flags...>
  local name=$1
  shift
  # The linker's choices only when linking: clang warns about unused arguments otherwise.
  cat >"$prefix/bin/aarch64-w64-mingw32-$name" <<EOF
#!/bin/sh
dir=\$(cd "\$(dirname "\$0")/.." && pwd)
link="-rtlib=compiler-rt -unwindlib=none -fuse-ld=lld"
for arg in "\$@"; do
  case \$arg in -c | -S | -E) link= ;; esac
done
exec $llvm/bin/clang $* --target=aarch64-w64-mingw32 --sysroot="\$dir" -resource-dir="\$dir/lib/clang" \$link "\$@"
EOF
  chmod +x "$prefix/bin/aarch64-w64-mingw32-$name"
}
driver clang
driver clang++ --driver-mode=g++ -stdlib=libc++
for tool in ar ranlib nm strip objdump readobj windres; do
  ln -s "$llvm/bin/llvm-$tool" "$prefix/bin/aarch64-w64-mingw32-$tool"
done
cat >"$prefix/bin/aarch64-w64-mingw32-dlltool" <<EOF
#!/bin/sh
exec $llvm/bin/llvm-dlltool -m arm64 "\$@"
EOF
chmod +x "$prefix/bin/aarch64-w64-mingw32-dlltool"
export PATH="$prefix/bin:$PATH"

# --- mingw-w64 headers and C runtime ----------------------------------------------------------
log "mingw-w64 headers"
mkdir -p "$work/headers" "$work/crt"
(cd "$work/headers" && "$mingw_src/mingw-w64-headers/configure" -q --host=aarch64-w64-mingw32 \
  --prefix="$sysroot" >/dev/null && make -s install >/dev/null)
log "mingw-w64 C runtime for ARM64"
(cd "$work/crt" && "$mingw_src/mingw-w64-crt/configure" -q --host=aarch64-w64-mingw32 --prefix="$sysroot" \
  CC=aarch64-w64-mingw32-clang CXX=aarch64-w64-mingw32-clang++ --disable-lib32 --disable-lib64 --enable-libarm64 >/dev/null &&
  make -s -j"$jobs" >/dev/null 2>"$work/crt.log" && make -s install >/dev/null) ||
  { tail -n 30 "$work/crt.log" >&2; exit 1; }
# mingw-w64 10 has no ARM64 import library for newdev.dll (UpdateDriverForPlugAndPlayDevicesW). Its
# exports carry no decoration on x64 or ARM64, so the x64 list makes it.
if [ ! -f "$sysroot/lib/libnewdev.a" ]; then
  aarch64-w64-mingw32-dlltool -d "$mingw_src/mingw-w64-crt/lib64/newdev.def" -l "$sysroot/lib/libnewdev.a"
fi

# --- compiler-rt builtins ---------------------------------------------------------------------
log "compiler-rt builtins"
cross=(-G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release -DCMAKE_SYSTEM_NAME=Windows
  -DCMAKE_SYSTEM_PROCESSOR=aarch64 -DCMAKE_C_COMPILER=aarch64-w64-mingw32-clang
  -DCMAKE_CXX_COMPILER=aarch64-w64-mingw32-clang++ -DCMAKE_C_COMPILER_WORKS=TRUE
  -DCMAKE_CXX_COMPILER_WORKS=TRUE -DCMAKE_AR="$llvm/bin/llvm-ar" -DCMAKE_RANLIB="$llvm/bin/llvm-ranlib"
  -DCMAKE_FIND_ROOT_PATH="$sysroot" -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY)
cmake -S "$llvm_src/compiler-rt/lib/builtins" -B "$work/builtins" "${cross[@]}" \
  -DCMAKE_INSTALL_PREFIX="$resource" -DCMAKE_C_COMPILER_TARGET=aarch64-w64-windows-gnu \
  -DCOMPILER_RT_DEFAULT_TARGET_ONLY=TRUE -DCOMPILER_RT_USE_BUILTINS_LIBRARY=TRUE \
  -DCOMPILER_RT_BUILD_BUILTINS=TRUE -DLLVM_CONFIG_PATH="" >"$work/builtins.log" 2>&1 ||
  { tail -n 30 "$work/builtins.log" >&2; exit 1; }
cmake --build "$work/builtins" --target install -j"$jobs" >>"$work/builtins.log" 2>&1 ||
  { tail -n 30 "$work/builtins.log" >&2; exit 1; }

# --- libc++abi and libc++, static, no exceptions ----------------------------------------------
log "libc++abi and libc++"
cmake -S "$llvm_src/runtimes" -B "$work/libcxx" "${cross[@]}" -DCMAKE_INSTALL_PREFIX="$sysroot" \
  -DCMAKE_CXX_COMPILER_TARGET=aarch64-w64-windows-gnu -DLLVM_ENABLE_RUNTIMES="libcxxabi;libcxx" \
  -DLLVM_INCLUDE_TESTS=OFF -DLIBCXX_INCLUDE_TESTS=OFF -DLIBCXXABI_INCLUDE_TESTS=OFF \
  -DLIBCXX_INCLUDE_BENCHMARKS=OFF -DLIBCXX_INCLUDE_DOCS=OFF \
  -DLIBCXX_ENABLE_SHARED=OFF -DLIBCXX_ENABLE_STATIC=ON -DLIBCXXABI_ENABLE_SHARED=OFF \
  -DLIBCXX_ENABLE_EXCEPTIONS=OFF -DLIBCXXABI_ENABLE_EXCEPTIONS=OFF -DLIBCXXABI_USE_LLVM_UNWINDER=OFF \
  -DLIBCXX_ENABLE_FILESYSTEM=OFF -DLIBCXX_ENABLE_EXPERIMENTAL_LIBRARY=OFF \
  -DLIBCXX_CXX_ABI=libcxxabi -DLIBCXX_ENABLE_STATIC_ABI_LIBRARY=ON \
  -DLIBCXX_USE_COMPILER_RT=ON -DLIBCXXABI_USE_COMPILER_RT=ON \
  -DLIBCXX_HAS_WIN32_THREAD_API=ON -DLIBCXXABI_HAS_WIN32_THREAD_API=ON \
  -DLIBCXX_LIBDIR_SUFFIX="" -DLIBCXXABI_LIBDIR_SUFFIX="" -DLIBCXX_ENABLE_ABI_LINKER_SCRIPT=OFF \
  >"$work/libcxx.log" 2>&1 || { tail -n 30 "$work/libcxx.log" >&2; exit 1; }
cmake --build "$work/libcxx" --target install -j"$jobs" >>"$work/libcxx.log" 2>&1 ||
  { tail -n 30 "$work/libcxx.log" >&2; exit 1; }

# --- proof: a C++ program links statically to an ARM64 console program -------------------------
cat >"$work/probe.cpp" <<'EOF'
#include <windows.h>
#include <newdev.h>
#include <mutex>
#include <string>
#include <vector>
int wmain(int argc, wchar_t** argv) {
    static std::mutex m;
    std::lock_guard lock(m);
    std::vector<std::wstring> args(argv, argv + argc);
    if (args.size() > 3)
        return UpdateDriverForPlugAndPlayDevicesW(nullptr, argv[1], argv[2], INSTALLFLAG_FORCE, nullptr) ? 0 : 2;
    return static_cast<int>(args.size()) - 1;
}
EOF
aarch64-w64-mingw32-clang++ -std=c++20 -fno-exceptions -municode -static -O2 "$work/probe.cpp" -lnewdev \
  -o "$work/probe.exe"
"$llvm/bin/llvm-readobj" --file-headers "$work/probe.exe" | grep -q 'IMAGE_FILE_MACHINE_ARM64' ||
  { log "the probe program is not ARM64"; exit 1; }

rm -rf "$work"
printf '%s' "$key" >"$stamp"
point_current
log "done in $(($(date +%s) - start)) s"
