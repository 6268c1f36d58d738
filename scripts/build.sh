#!/usr/bin/env bash
# Configures and builds into build/ (Ninja, ccache when present).
# TAMSEL_BUILD_DIR: another build folder; TAMSEL_SANITIZE=ON: an ASan + UBSan build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAMSEL_BUILD_DIR:-$root/build}"
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${TAMSEL_BUILD_TYPE:-RelWithDebInfo}" \
  -DTAMSEL_SANITIZE="${TAMSEL_SANITIZE:-OFF}" "${launcher[@]}" >/dev/null
cmake --build "$build" "$@"
