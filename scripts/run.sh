#!/usr/bin/env bash
# Sets up, builds and starts the console.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target tamsel
exec "${TAMSEL_BUILD_DIR:-$root/build}/tamsel" "$@"
