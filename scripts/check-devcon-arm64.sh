#!/usr/bin/env bash
# Checks that a devconARM64.exe is what ARM64 Windows needs, since nothing here can run it: an
# ARM64 PE (COFF machine 0xAA64), a console program, and importing only DLLs that Windows itself
# ships (linked statically: no libc++, libunwind, winpthreads or libgcc DLL beside it).
#   check-devcon-arm64.sh <devconARM64.exe>
set -euo pipefail
exe=${1:?usage: check-devcon-arm64.sh <devconARM64.exe>}
llvm=/usr/lib/llvm-14/bin
fail() {
  printf 'check-devcon-arm64: %s: %s\n' "$exe" "$*" >&2
  exit 1
}
[ -f "$exe" ] || fail "no such file"

format=$("$llvm/llvm-objdump" -f "$exe")
grep -q 'file format coff-arm64' <<<"$format" || fail "not an ARM64 PE file: $format"
grep -q '^architecture: aarch64' <<<"$format" || fail "architecture is not aarch64: $format"

headers=$("$llvm/llvm-readobj" --file-headers "$exe")
grep -q 'Machine: IMAGE_FILE_MACHINE_ARM64 (0xAA64)' <<<"$headers" || fail "COFF machine is not 0xAA64"
grep -q 'Subsystem: IMAGE_SUBSYSTEM_WINDOWS_CUI' <<<"$headers" || fail "not a console program"

# The DLLs a fresh ARM64 Windows has in System32; anything else would have to lie beside the tool.
system='^(kernel32|ntdll|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+|advapi32|user32|gdi32|shell32|ole32|oleaut32|shlwapi|setupapi|newdev|cfgmgr32|winspool\.drv|bthprops\.cpl|ws2_32|version|comctl32|userenv|rpcrt4)(\.dll)?$'
imports=$("$llvm/llvm-readobj" --coff-imports "$exe" | sed -n 's/^ *Name: //p')
[ -n "$imports" ] || fail "no imported DLLs found"
bad=$(grep -viE "$system" <<<"$imports" || true)
[ -z "$bad" ] || fail "imports DLLs that are not part of Windows: $(tr '\n' ' ' <<<"$bad")"
printf 'check-devcon-arm64: %s: ARM64 console program importing %s\n' "$exe" "$(tr '\n' ' ' <<<"$imports")"
