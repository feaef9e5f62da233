#!/usr/bin/env bash
# Installs what is missing, builds Pathwick and starts it. With a display ($DISPLAY) it runs there;
# without one it starts a virtual display, saves a screenshot and keeps running until interrupted.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$PW_ROOT"

pw_install_deps
pw_build_win --target Pathwick

export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
exe="$PW_ROOT/build/win/Pathwick.exe"

if [ -n "${DISPLAY:-}" ]; then
  pw_prepare_prefix
  exec wine "$exe"
fi

# The display comes first: Wine's desktop, started while a new prefix is made, keeps the display it
# was started with.
pw_start_xvfb || exit 1
trap 'wineserver -k >/dev/null 2>&1; pw_stop_xvfb' EXIT
# Ended by a signal (timeout, a service manager, Ctrl+C), the script still ends Wine and Xvfb.
trap 'exit 143' TERM
trap 'exit 130' INT
pw_prepare_prefix
wine "$exe" </dev/null >/dev/null 2>&1 &
app=$!
# A new prefix makes the first start slow; wait up to a minute for the window to be on screen.
for _ in $(seq 1 300); do
  xwininfo -name "Pathwick for Windows" 2>/dev/null | grep -q IsViewable && break
  sleep 0.2
done
sleep 2
shot=${PW_SCREENSHOT:-/tmp/pathwick-screenshot.png}
import -window root "$shot"
echo "Pathwick is running on virtual display $DISPLAY; screenshot: $shot"
echo "Press Ctrl+C to stop."
wait "$app"
