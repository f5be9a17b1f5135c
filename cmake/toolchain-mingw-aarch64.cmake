# Cross-compiling for ARM64 Windows with the toolchain scripts/arm64-toolchain.sh builds from
# Debian's clang, lld, the mingw-w64 sources and LLVM's runtime libraries (libc++, static, no
# exceptions). $ORVELLO_CACHE/toolchain-aarch64 points at the current build of it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
if(NOT ORVELLO_AARCH64_TOOLCHAIN)
  if(NOT DEFINED ENV{ORVELLO_CACHE})
    message(FATAL_ERROR "ORVELLO_CACHE is not set: source scripts/env.sh first")
  endif()
  set(ORVELLO_AARCH64_TOOLCHAIN "$ENV{ORVELLO_CACHE}/toolchain-aarch64")
endif()
# try_compile projects read the toolchain file again, without the cache: hand the folder on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORVELLO_AARCH64_TOOLCHAIN)
if(NOT EXISTS "${ORVELLO_AARCH64_TOOLCHAIN}/bin/aarch64-w64-mingw32-clang++")
  message(FATAL_ERROR "No aarch64-w64-mingw32 toolchain in ${ORVELLO_AARCH64_TOOLCHAIN}: run scripts/setup.sh")
endif()
set(tools "${ORVELLO_AARCH64_TOOLCHAIN}/bin/aarch64-w64-mingw32")
set(CMAKE_C_COMPILER "${tools}-clang")
set(CMAKE_CXX_COMPILER "${tools}-clang++")
set(CMAKE_RC_COMPILER "${tools}-windres")
set(CMAKE_AR "${tools}-ar" CACHE FILEPATH "")
set(CMAKE_RANLIB "${tools}-ranlib" CACHE FILEPATH "")
# The C++ runtime is built without exceptions; our code throws and catches nothing.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
set(CMAKE_FIND_ROOT_PATH "${ORVELLO_AARCH64_TOOLCHAIN}/aarch64-w64-mingw32")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
