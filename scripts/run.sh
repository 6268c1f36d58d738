#!/usr/bin/env bash
# Sets up, builds and starts the console, with a network device beside the local ones: one
# tamsel-agent on loopback serving a demo device, ended when the console ends.
# The demo's files live in build/demo (its device list, the local devices' memories, the
# agent's store); the user's own device list is left alone.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAMSEL_BUILD_DIR:-$root/build}"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target tamsel tamsel-agent

demo="$build/demo"
port=9431
demo_password="brevia-demo"
mkdir -p "$demo/data/Corvane/Tamsel"
list="$demo/data/Corvane/Tamsel/devices.json"
[ -f "$list" ] || cat >"$list" <<JSON
{"devices": [{"name": "Brevia Pro 45 (USB001)", "model": "Brevia Pro 45", "trays": 2, "firmwareVersion": "2.14"},
             {"name": "Brevia Pro 40 (LPT1)", "model": "Brevia Pro 40", "trays": 1, "firmwareVersion": "1.32"}],
 "network": ["127.0.0.1:$port"]}
JSON

agent="$build/tamsel-agent"
store="$demo/agent"
if [ ! -f "$store/devices/Brevia Pro 45.pass" ]; then
  printf '%s\n' "$demo_password" | "$agent" passwd "Brevia Pro 45" --store "$store" 2>/dev/null
fi
"$agent" --listen "127.0.0.1:$port" --store "$store" 2>>"$demo/agent.log" &
agent_pid=$!
trap 'kill "$agent_pid" 2>/dev/null; wait "$agent_pid" 2>/dev/null || true' EXIT
echo "Périphérique du réseau de démonstration : \\\\127.0.0.1\\Brevia Pro 45 (mot de passe : $demo_password)"
echo "Journal de l'agent : $demo/agent.log"
XDG_DATA_HOME="$demo/data" "$build/tamsel" "$@"
