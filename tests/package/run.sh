#!/usr/bin/env bash
# The driver package's catalogue in each given build's skin archive (check_catalogue.py), and
# scripts/sign-package.sh on a copy of the first one (sign_package_test.py).
#   tests/package/run.sh BUILD_FOLDER...
set -euo pipefail
here=$(dirname "$0")
[ $# -gt 0 ] || {
  echo "usage: tests/package/run.sh BUILD_FOLDER..." >&2
  exit 2
}
python3 "$here/check_catalogue.py" "$@"
python3 "$here/sign_package_test.py" "$1"
