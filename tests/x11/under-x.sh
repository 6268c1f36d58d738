#!/usr/bin/env bash
# Runs a test program under an X server of its own: Xvfb on a display number it finds free
# itself (-displayfd), with the openbox window manager, so that what only a real display has
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
mkfifo "$work/display" "$work/wm"
exec 4<>"$work/display" 5<>"$work/wm"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
if ! read -r -t 20 number <&4; then
  echo "under-x: Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$number"

# openbox runs its start-up command once it manages the screen. Its settings are its own
# defaults with an empty menu: the system's menu may name files that are not there.
mkdir -p "$work/openbox"
printf '<openbox_config><menu><file>%s</file></menu></openbox_config>\n' "$work/openbox/menu.xml" >"$work/openbox/rc.xml"
printf '<openbox_menu><menu id="root-menu" label="Openbox"/></openbox_menu>\n' >"$work/openbox/menu.xml"
XDG_CONFIG_HOME="$work" XDG_CACHE_HOME="$work" \
  openbox --sm-disable --startup "sh -c 'echo >$work/wm'" 2>"$work/wm.log" &
wm=$!
if ! read -r -t 20 _ <&5; then
  echo "under-x: the window manager did not start" >&2
  cat "$work/wm.log" >&2
  exit 1
fi

export QT_QPA_PLATFORM=xcb TAMSEL_TEST_UNDER_X=1
status=0
timeout --kill-after=5 100 "$@" || status=$?
exit "$status"
