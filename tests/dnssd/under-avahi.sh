#!/usr/bin/env bash
# Runs a test program in a network namespace of its own, with a D-Bus and an Avahi daemon of
# its own on a pair of virtual interfaces (192.0.2.1 and .2), so that DNS-SD announcements are
# seen without touching the machine's network or its daemons. Both daemons end with the
# program, and every wait is bounded. Where no namespace can be made (a container without the
# rights), the program runs anyway with TAMSEL_NO_AVAHI saying why, and its cases are skipped.
set -euo pipefail
for arg in "$@"; do
  if [ "$arg" = --gtest_list_tests ]; then
    exec "$@"
  fi
done

if [ -z "${TAMSEL_IN_NAMESPACE:-}" ]; then
  # Root makes the namespaces itself; anybody else maps itself to root in a user namespace.
  if [ "$(id -u)" -eq 0 ]; then ns=(unshare --net --mount); else ns=(unshare --map-root-user --net --mount); fi
  if ! "${ns[@]}" true 2>/dev/null; then
    export TAMSEL_NO_AVAHI="no network namespace can be made here (unshare refused)"
    exec "$@"
  fi
  export TAMSEL_IN_NAMESPACE=1
  exec "${ns[@]}" "$0" "$@"
fi

work="$(mktemp -d)"
pids=""
stop() {
  for pid in $pids; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in $pids; do
    timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap stop EXIT

# Waits, at most 20 s, until the file holds the text.
wait_for() {
  local i
  for i in $(seq 200); do
    if grep -q "$2" "$1" 2>/dev/null; then return 0; fi
    sleep 0.1
  done
  echo "under-avahi: $3 did not start" >&2
  cat "$1" >&2
  exit 1
}

ip link set lo up
ip link add tamsel0 type veth peer name tamsel1
ip addr add 192.0.2.1/24 dev tamsel0
ip addr add 192.0.2.2/24 dev tamsel1
ip link set tamsel0 multicast on up
ip link set tamsel1 multicast on up
# Avahi keeps its pid and socket in /run/avahi-daemon: a /run of this namespace's own.
mount -t tmpfs tmpfs /run
mkdir -p /run/avahi-daemon
# The daemon hands that folder to its own user and group even when it keeps root's rights; in
# a user namespace only root is mapped, so here they are root's.
{ grep -v '^avahi:' /etc/passwd || true; echo 'avahi:x:0:0:Avahi:/run/avahi-daemon:/usr/sbin/nologin'; } >"$work/passwd"
{ grep -v '^avahi:' /etc/group || true; echo 'avahi:x:0:'; } >"$work/group"
mount --bind "$work/passwd" /etc/passwd
mount --bind "$work/group" /etc/group

cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
dbus-daemon --config-file="$work/bus.conf" --nofork --print-address=1 >"$work/bus.log" 2>&1 &
pids="$!"
wait_for "$work/bus.log" "unix:" "dbus-daemon"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/bus"

cat >"$work/avahi.conf" <<CONF
[server]
use-ipv4=yes
use-ipv6=no
allow-interfaces=tamsel0
ratelimit-interval-usec=0
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
CONF
avahi-daemon -f "$work/avahi.conf" --no-drop-root --no-chroot --no-rlimits --no-proc-title --debug >"$work/avahi.log" 2>&1 &
pids="$! $pids"
wait_for "$work/avahi.log" "Server startup complete" "avahi-daemon"

export TAMSEL_TEST_AVAHI_ADDRESS=192.0.2.1
status=0
timeout --kill-after=5 100 "$@" || status=$?
exit "$status"
