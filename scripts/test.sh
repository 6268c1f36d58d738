#!/usr/bin/env bash
# Sets up, builds and runs every test, offscreen (no display needed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "${TAMSEL_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j2 "$@"
