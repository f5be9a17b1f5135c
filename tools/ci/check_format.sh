#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (the repository's .clang-format) makes
# of it; prints the places. Fix with: git ls-files '*.h' '*.cpp' | xargs clang-format -i
set -uo pipefail
cd "$(dirname "$0")/../.."
out=$(git ls-files -z '*.h' '*.cpp' | xargs -0 -r clang-format --dry-run --Werror 2>&1)
if [ -n "$out" ]; then
  printf '%s\n' "$out" | grep 'error:' | head -40
  echo "unformatted code: run clang-format -i on the files above"
  exit 1
fi
