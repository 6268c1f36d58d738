#!/usr/bin/env bash
# Builds what the package installs and makes the Debian package build/tamsel_*.deb.
# TAMSEL_BUILD_DIR: another build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAMSEL_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" --target tamsel tamselctl tamsel-agent desktop_icons dist_files
cd "$build"
cpack -G DEB
