#!/usr/bin/env bash
# The network device path, as whole processes side by side in one run, against curl as the
# floor: `tamselctl read` of the full record from an agent on loopback against curl fetching
# the same record into a file, `tamselctl apply` against curl sending it (same TLS, same
# password); then the agent's resident memory idle and with 50 clients at once.
# Usage: bench/network.sh [RUNS]   (builds what it needs; the goal is at most 1.5x each)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAMSEL_BUILD_DIR:-$root/build}"
runs="${1:-20}"
"$root/scripts/build.sh" --target tamsel-agent tamselctl bench_full_record >/dev/null

work="$(mktemp -d)"
agent_pid=""
cleanup() { [ -z "$agent_pid" ] || kill "$agent_pid" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
password="mot de passe du banc"
mkdir -p "$work/store" "$work/data/Corvane/Tamsel"
echo '{"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45"}]}' >"$work/store/devices.json"
printf '%s\n' "$password" | "$build/tamsel-agent" passwd "Brevia Pro 45" --store "$work/store" 2>/dev/null
"$build/tamsel-agent" --listen 127.0.0.1:0 --store "$work/store" 2>"$work/agent.log" &
agent_pid=$!
for _ in $(seq 100); do grep -q "sur https://" "$work/agent.log" && break; sleep 0.1; done
port="$(sed -n 's|.*sur https://127.0.0.1:\([0-9]*\)/.*|\1|p' "$work/agent.log" | head -n 1)"
device="\\\\127.0.0.1:$port\\Brevia Pro 45"
url="https://127.0.0.1:$port"
printf '%s\n' "$password" >"$work/password"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
echo o | "$build/tools/tamselctl/tamselctl" trust "$device" >/dev/null
# The full record of the tests, on the device first.
"$build/bench/bench_full_record" "$work/full.tms"
"$build/tools/tamselctl/tamselctl" apply "$work/full.tms" "$device" --password-file "$work/password" --force >/dev/null

# Median wall time in ms of a command run $runs times.
median() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N); "$@" >/dev/null 2>&1; end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]/1000}'
}
ctl="$build/tools/tamselctl/tamselctl"
read_ctl=$(median "$ctl" read "$device" "$work/out.tms" --password-file "$work/password")
read_curl=$(median curl -sfk -u "admin:$password" -o "$work/out-curl.tms" "$url/settings")
apply_ctl=$(median "$ctl" --force apply "$work/full.tms" "$device" --password-file "$work/password")
apply_curl=$(median curl -sfk -u "admin:$password" -T "$work/full.tms" "$url/settings")
size=$(stat -c %s "$work/out-curl.tms")
echo "record: $size bytes, medians of $runs runs"
awk -v a="$read_ctl" -v b="$read_curl" 'BEGIN {printf "read   tamselctl %8.2f ms   curl %8.2f ms   ratio %.2f (goal <= 1.5)\n", a, b, a / b}'
awk -v a="$apply_ctl" -v b="$apply_curl" 'BEGIN {printf "apply  tamselctl %8.2f ms   curl %8.2f ms   ratio %.2f (goal <= 1.5)\n", a, b, a / b}'

rss() { sed -n 's/^VmRSS:[[:space:]]*//p' "/proc/$agent_pid/status"; }
echo "agent resident memory, idle: $(rss)"
# 50 clients at once, each reading the record 20 times; the peak is sampled meanwhile.
pids=()
for _ in $(seq 50); do
  ( for _ in $(seq 20); do curl -sk -u "admin:$password" -o /dev/null "$url/settings"; done ) &
  pids+=($!)
done
peak=0
while kill -0 "${pids[@]}" 2>/dev/null; do
  now=$(rss | awk '{print $1}'); [ "$now" -gt "$peak" ] && peak=$now
  sleep 0.05
done
wait "${pids[@]}" 2>/dev/null || true
echo "agent resident memory, 50 clients: peak $peak kB; after: $(rss)"
