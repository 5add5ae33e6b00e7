# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the tests that need a real X server, which define work (their folder).
#
#   start_xvfb FIRST LAST
#
# Starts Xvfb on the first display number from FIRST to LAST that nobody uses, sets xvfb_pid
# and exports DISPLAY. Ends the test as skipped (77) when no such number is free or Xvfb cannot
# start here.
start_xvfb() {
    local n display=
    for n in $(seq "$1" "$2"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
    done
    [ -n "$display" ] || { echo "SKIP: no free display number"; exit 77; }
    # -noreset: the server would otherwise reset when its last client goes (a program killed),
    # refusing the next start for a moment.
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${display#:}" ] && break
        sleep 0.1
    done
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ ! -e "/tmp/.X11-unix/X${display#:}" ]; then
        echo "SKIP: Xvfb cannot start here"
        cat "$work/xvfb.log"
        exit 77
    fi
    export DISPLAY=$display
}
