#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader learns of the program in a real X window: the accessibility tree is read
# over AT-SPI, on a private session bus, as a screen reader reads it. The page is named after the
# date on show and described with the day of the year and the week; Ctrl+Page Down renames it
# after the next day, which a screen reader hears of once.
#
#   screenreader.sh PATH/TO/ruvo
#
# Exits 77 (skipped) when Xvfb, the AT-SPI bus or its Python bindings are not installed.
set -uo pipefail
. "$(dirname "$0")/../waitfor.sh"
. "$(dirname "$0")/../xvfb.sh"

program=$(realpath "$1")
python=/usr/bin/python3 # the system's, which has the bindings
for tool in Xvfb xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher "$python"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if ! "$python" -c "import gi; gi.require_version('Atspi', '2.0')" 2>/dev/null; then
    echo "SKIP: the AT-SPI Python bindings (gir1.2-atspi-2.0, python3-gi) are not installed"
    exit 77
fi

# Everything runs inside a session bus of its own, gone with it.
if [ -z "${RUVO_SCREENREADER_BUS:-}" ]; then
    RUVO_SCREENREADER_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
xvfb_pid=
bus_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    cat "$work/ruvo.log" 2>/dev/null
    exit 1
}

start_xvfb 141 190
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus_pid=$!

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
export XDG_STATE_HOME=$work/state QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
(cd "$work/home" && LC_ALL=en_US.UTF-8 exec "$program") >"$work/ruvo.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" --name '^Ruvo$' | head -n 1)
[ -n "$window" ] || fail "the main window did not appear"

# The page as the accessibility tree shows it: its name, then its description.
page() {
    "$python" - "$app_pid" <<'EOF'
import sys
import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi

def walk(node, depth=0):
    if node is None or depth > 12:
        return None
    if ' - ' in (node.get_description() or '') and node.get_name():
        return node
    for i in range(node.get_child_count()):
        found = walk(node.get_child_at_index(i), depth + 1)
        if found:
            return found
    return None

desktop = Atspi.get_desktop(0)
for i in range(desktop.get_child_count()):
    app = desktop.get_child_at_index(i)
    if app is not None and app.get_process_id() == int(sys.argv[1]):
        found = walk(app)
        if found:
            print(found.get_name())
            print(found.get_description())
EOF
}
named() { # expected name
    page >"$work/page.txt" 2>"$work/atspi.log"
    [ "$(head -n 1 "$work/page.txt")" = "$1" ] ||
        { echo "the page is named: $(head -n 1 "$work/page.txt")"; return 1; }
}

today=$(LC_ALL=C date +'%A %-d %B %Y')
tomorrow=$(LC_ALL=C date -d tomorrow +'%A %-d %B %Y')
wait_for 20 named "$today"
week=$(LC_ALL=C date +'Day %-j - Week')
grep -q "^$week" "$work/page.txt" ||
    fail "the page's description lacks the day of the year: $(tail -n 1 "$work/page.txt")"

# The turn is announced, once: a screen reader hears of the page's new name.
xdotool windowfocus --sync "$window"
announced=$("$python" - "$window" "$tomorrow" <<'EOF'
import subprocess
import sys
import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, GLib

heard = []
listener = Atspi.EventListener.new(lambda event: heard.append(event.source.get_name()))
listener.register('object:property-change:accessible-name')
loop = GLib.MainLoop()
def turn():
    subprocess.run(['xdotool', 'key', '--window', sys.argv[1], 'ctrl+Next'])
    return False
GLib.timeout_add(300, turn)
GLib.timeout_add(3000, loop.quit)
loop.run()
print(heard.count(sys.argv[2]))
EOF
)
[ "$announced" = 1 ] || fail "the turn to $tomorrow was announced ${announced:-0} times, not once"
wait_for 10 named "$tomorrow"
if [ "$(LC_ALL=C date +'%A %-d %B %Y')" != "$today" ]; then
    echo "SKIP: midnight passed during the test"
    exit 77
fi
echo "screen reader: 1 passed, 0 failed"
