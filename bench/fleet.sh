#!/usr/bin/env bash
# Many devices at once, as whole processes side by side in one run: `tamselctl read` of 32
# devices served by an agent on loopback, -j 8 against one after another (-j 1). Each device
# takes its pace (the device list's default step delay), as a real one does.
# Usage: bench/fleet.sh [RUNS]   (builds what it needs; the goal is at most 1/6 of the serial time)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAMSEL_BUILD_DIR:-$root/build}"
runs="${1:-3}"
"$root/scripts/build.sh" --target tamsel-agent tamselctl >/dev/null

work="$(mktemp -d)"
agent_pid=""
cleanup() { [ -z "$agent_pid" ] || kill "$agent_pid" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
password="mot de passe du banc"
mkdir -p "$work/store" "$work/data/Corvane/Tamsel"
devices=$(for n in $(seq -w 1 32); do printf '{"name": "Brevia %s"},' "$n"; done)
echo "{\"devices\": [${devices%,}]}" >"$work/store/devices.json"
for n in $(seq -w 1 32); do
  printf '%s\n' "$password" | "$build/tamsel-agent" passwd "Brevia $n" --store "$work/store" 2>/dev/null
done
"$build/tamsel-agent" --listen 127.0.0.1:0 --store "$work/store" 2>"$work/agent.log" &
agent_pid=$!
for _ in $(seq 200); do [ "$(grep -c "sur https://" "$work/agent.log")" -ge 32 ] && break; sleep 0.1; done
printf '%s\n' "$password" >"$work/password"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
ctl="$build/tools/tamselctl/tamselctl"
sed -n 's|.*« \(.*\) » sur https://127.0.0.1:\([0-9]*\)/.*|\\\\127.0.0.1:\2\\\1|p' "$work/agent.log" >"$work/list"
while IFS= read -r device; do echo o | "$ctl" trust "$device" >/dev/null; done <"$work/list"

# Wall time in ms of one read of all 32 with -j N.
read_all() {
  rm -rf "$work/out"; mkdir "$work/out"
  local start end
  start=$(date +%s%N)
  "$ctl" read --from "$work/list" -j "$1" "$work/out" --password-file "$work/password" >/dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
parallel=() serial=()
for _ in $(seq "$runs"); do
  parallel+=("$(read_all 8)")
  serial+=("$(read_all 1)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
p=$(median "${parallel[@]}") s=$(median "${serial[@]}")
awk -v p="$p" -v s="$s" -v r="$runs" 'BEGIN {
  printf "32 devices, medians of %d runs: -j 8 %d ms, one after another %d ms, ratio %.3f (goal <= %.3f)\n", r, p, s, p / s, 1 / 6 }'
