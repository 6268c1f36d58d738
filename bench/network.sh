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

# Runs two commands in turns, $runs times each, so that both meet the same load; prints
# "WALL_A CPU_A WALL_B CPU_B", the medians in ms of wall time and of user + system time.
side_by_side() {
  local a="$1" b="$2" log="$work/times"
  : >"$log"
  for _ in $(seq "$runs"); do
    for which in a b; do
      local TIMEFORMAT="$which %R %U %S"
      { time eval "${!which}" >/dev/null 2>&1; } 2>>"$log"
    done
  done
  for which in a b; do
    awk -v w="$which" '$1 == w {print $2 * 1000, ($3 + $4) * 1000}' "$log" | sort -n -k1,1 | awk '{a[NR]=$1} END {printf "%.1f ", a[int((NR+1)/2)]}'
    awk -v w="$which" '$1 == w {print ($3 + $4) * 1000}' "$log" | sort -n | awk '{a[NR]=$1} END {printf "%.1f ", a[int((NR+1)/2)]}'
  done
}
report() {
  read -r wall_ctl cpu_ctl wall_curl cpu_curl <<<"$2"
  awk -v n="$1" -v a="$wall_ctl" -v b="$wall_curl" -v c="$cpu_ctl" -v d="$cpu_curl" 'BEGIN {
    printf "%-6s tamselctl %7.1f ms (cpu %6.1f)   curl %7.1f ms (cpu %6.1f)   ratio %.2f, cpu %.2f (goal <= 1.5)\n",
           n, a, c, b, d, a / b, c / d }'
}
ctl="$build/tools/tamselctl/tamselctl"
q() { printf '%q ' "$@"; }
read_times=$(side_by_side "$(q "$ctl" read "$device" "$work/out.tms" --password-file "$work/password")" \
                          "$(q curl -sfk -u "admin:$password" -o "$work/out-curl.tms" "$url/settings")")
apply_times=$(side_by_side "$(q "$ctl" --force apply "$work/full.tms" "$device" --password-file "$work/password")" \
                           "$(q curl -sfk -u "admin:$password" -T "$work/full.tms" "$url/settings")")
size=$(stat -c %s "$work/out-curl.tms")
echo "record: $size bytes, medians of $runs runs each, taken in turns"
report read "$read_times"
report apply "$apply_times"

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
