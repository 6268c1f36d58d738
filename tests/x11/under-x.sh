#!/usr/bin/env bash
# Runs a test program under an X server of its own: Xvfb on a display number it finds free
# itself (-displayfd), with the IceWM window manager, so that what only a real display has
# (the X selection, a window manager's frames and placement) is there. Both are ended when the
# program ends, and every wait is bounded. Listing the cases needs no display.
set -euo pipefail
for arg in "$@"; do
  if [ "$arg" = --gtest_list_tests ]; then
    exec "$@"
  fi
done

work="$(mktemp -d)"
xvfb="" wm=""
stop() {
  for pid in $wm $xvfb; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in $wm $xvfb; do
    # Each gets 5 s to end, then is killed.
    timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap stop EXIT

# Opened both ways, a fifo's open never blocks: only the reads wait, each with its bound.
mkfifo "$work/display"
exec 4<>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
if ! read -r -t 20 number <&4; then
  echo "under-x: Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$number"

# IceWM, with its own defaults and no task bar, honours the Motif hints a window gives of its
# title-bar functions, as a user's desktop does. It manages the screen once it names itself on
# the root window; xprop -spy prints the root window's properties now and each change (for 20 s
# at most),
# so the wait is for the event.
mkdir -p "$work/icewm"
printf 'ShowTaskBar=0\n' >"$work/icewm/preferences"
ICEWM_PRIVCFG="$work/icewm" icewm 2>"$work/wm.log" &
wm=$!
exec 5< <(exec timeout 20 xprop -root -spy 2>/dev/null)
spy=$!
ready=""
while read -r line <&5; do
  case "$line" in _NET_SUPPORTING_WM_CHECK*"window id"*) ready=1; break ;; esac
done
kill "$spy" 2>/dev/null || true
exec 5<&-
if [ -z "$ready" ]; then
  echo "under-x: the window manager did not start" >&2
  cat "$work/wm.log" >&2
  exit 1
fi

export QT_QPA_PLATFORM=xcb TAMSEL_TEST_UNDER_X=1
status=0
timeout --kill-after=5 100 "$@" || status=$?
exit "$status"
