#!/usr/bin/env bash
# The program itself in a real X window, driven as a person drives it: type into the notes
# and an hour field, turn the page forward and back with the corners and with the keys, find
# a page through the search, open the web site's confirmation box, double-click the day block
# and pick a date, write on that page, quit through the menu and the about box. Then the day files and
# the settings file are checked byte for byte. Then twice more: killed outright three seconds
# after typing, the text is in the day file; ended by SIGTERM where the page cannot be saved,
# the program ends at once and the text is in a rescue file.
#
#   realwindow.sh PATH/TO/ruvo
#
# Exits 77 (skipped) when no X server can be started here.
set -uo pipefail

program=$1
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The caption the desktop shows, exactly as the program gives it.
caption_is() { # window, caption
    local shown
    shown=$(xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
    [ "$shown" = "$2" ] || fail "the window's caption is \"$shown\", not \"$2\""
}

fail() {
    echo "FAIL: $*"
    echo "--- program output"
    cat "$work/ruvo.log" 2>/dev/null
    echo "--- start folder"
    ls -la "$work/home" 2>/dev/null
    exit 1
}

# A display number nobody uses.
for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
[ -n "${display:-}" ] || { echo "SKIP: no free display number"; exit 77; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
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

mkdir -p "$work/home" "$work/config" "$work/runtime" "$work/share" "$work/state"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export XDG_DATA_HOME=$work/share XDG_STATE_HOME=$work/state
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

today=$(date +%d%m%y)
tomorrow=$(date -d tomorrow +%d%m%y)
picked=$(date +%d%m)30 # the same day in 2030, chosen in the date dialog

start() { # folder
    (cd "$1" && LC_ALL=en_US.UTF-8 exec "$program") >"$work/ruvo.log" 2>&1 &
    app_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" --name '^Ruvo$' | head -n 1)
    [ -n "$window" ] || fail "the main window did not appear"
    caption_is "$window" "Ruvo"
    eval "$(xdotool getwindowgeometry --shell "$window")" # X Y WIDTH HEIGHT
    [ "$WIDTH" = 387 ] || fail "window width $WIDTH"
    pad_x=$X
    pad_y=$((Y + HEIGHT - 278)) # the pad fills the client area under the menu bar
    xdotool windowfocus --sync "$window"
    sleep 0.5
}
start "$work/home"
# The first page is drawn without an image format plugin or the network module.
loaded=$(grep -oE 'imageformats/[^ ]+|libQt6Network[^ ]*|libjpeg[^ ]*' "/proc/$app_pid/maps" | sort -u)
[ -z "$loaded" ] || fail "loaded for the first page: $loaded"

# Pointer positions are given on the pad.
move() { xdotool mousemove --sync $((pad_x + $1)) $((pad_y + $2)); sleep 0.2; }
click() { move "$1" "$2"; xdotool click 1; sleep 0.4; }
type_text() { xdotool type --delay 30 "$1"; sleep 0.3; }

click 80 150 # the notes
type_text "Hello Ruvo"
click 300 56 # the hour field of row 3
type_text "Dentist"
click 370 265 # next-day corner
click 18 265  # previous-day corner: back to today, its notes saved by the first turn

expect_file() { # file, expected bytes (printf format)
    local expected
    expected=$(printf "$2" | od -An -c)
    [ -f "$work/home/$1" ] || fail "$1 is missing"
    [ "$(od -An -c <"$work/home/$1")" = "$expected" ] ||
        fail "$1 holds $(od -An -c <"$work/home/$1"), expected $expected"
}
rows() { # the time-fields file with text on one row
    local out="" i
    for i in $(seq 17); do
        [ "$i" = "$1" ] && out+="$2"
        out+='\r\n'
    done
    printf '%s' "$out"
}
expect_file "${today}N.ruv" 'Hello Ruvo\r\n'
expect_file "${today}T.ruv" "$(rows 3 Dentist)"
expect_file "${tomorrow}N.ruv" ''
expect_file "${tomorrow}T.ruv" "$(rows 0 '')"

# The keys turn the page from inside the notes, saving first; the search finds that page again
# and puts the cursor on the text found, which typing replaces.
after=$(date -d '2 days' +%d%m%y)
click 80 150
xdotool key ctrl+Next
type_text "Keyed"
xdotool key ctrl+Prior ctrl+Next ctrl+Next
sleep 0.3
xdotool key alt+Home
sleep 0.3
expect_file "${tomorrow}N.ruv" 'Keyed\r\n'
expect_file "${after}N.ruv" ''
xdotool key ctrl+f
search=$(timeout 10 xdotool search --sync --onlyvisible --name '^Search$' | head -n 1)
[ -n "$search" ] || fail "Ctrl+F opened no search window"
type_text "keyed"
sleep 1
xdotool key Return
sleep 0.5
type_text "Found"
xdotool key alt+Home
sleep 0.3
expect_file "${tomorrow}N.ruv" 'Found\r\n'
expect_file "${today}N.ruv" 'Hello Ruvo\r\n'
click 80 150

# The confirmation box of the web site, from the help menu, with its exact caption.
xdotool key alt+a
sleep 0.3
xdotool key s
confirmation=$(timeout 10 xdotool search --sync --onlyvisible --name '^Confirmation$' | head -n 1)
[ -n "$confirmation" ] || fail "the confirmation box did not open"
caption_is "$confirmation" "Confirmation"
xdotool key Escape
sleep 0.3

# The day block: a double-click opens the date dialog at the pointer.
move 130 40
xdotool click --repeat 2 --delay 80 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Calendar$' | head -n 1)
[ -n "$dialog" ] || fail "the date dialog did not open"
caption_is "$dialog" "Calendar"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
dialog_x=$X
dialog_y=$Y
xdotool mousemove --sync $((dialog_x + 150)) $((dialog_y + 16)) click --repeat 3 1 # the year
sleep 0.3
type_text "2030"
xdotool mousemove --sync $((dialog_x + 48)) $((dialog_y + 155)) click 1 # OK
sleep 0.8
# The notes editor has the focus on the new page.
type_text "Future"

# Quit through the menu; the about box comes first, its check box ticked, closed by its
# picture.
xdotool mousemove --sync $((pad_x + 20)) $((pad_y - 10)) click 1
about=$(timeout 10 xdotool search --sync --onlyvisible --name '^A propos$' | head -n 1)
[ -n "$about" ] || fail "the about box did not show at exit"
caption_is "$about" "A propos"
eval "$(xdotool getwindowgeometry --shell "$about")"
xdotool mousemove --sync $((X + 14)) $((Y + 363)) click 1 # "Ne plus afficher cette fenêtre."
sleep 0.3
xdotool mousemove --sync $((X + 157)) $((Y + 326)) click 1 # the closing picture
for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
wait "$app_pid"
status=$?
app_pid=
[ "$status" = 0 ] || fail "the program ended with status $status"

if [ "$(date +%d%m%y)" != "$today" ]; then
    echo "SKIP: midnight passed during the test"
    exit 77
fi
expect_file "${picked}N.ruv" 'Future\r\n'
expect_file "${today}N.ruv" 'Hello Ruvo\r\n'
[ -f "$work/config/Ruvo.ini" ] || fail "Ruvo.ini was not written"
[ "$(cat "$work/config/Ruvo.ini")" = "$(printf '[Propriétés]\napropos=1')" ] ||
    fail "Ruvo.ini holds: $(cat "$work/config/Ruvo.ini")"

# Killed outright three seconds after typing, with no other action: the text is on disk.
start "$work/home"
click 80 150
type_text " Crash"
sleep 3
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null
app_pid=
grep -q "Crash" "$work/home/${today}N.ruv" || fail "typed text lost to SIGKILL: $(cat "$work/home/${today}N.ruv")"

# The page cannot be saved where it belongs (a folder has the notes file's name). SIGTERM ends
# the program within a second, and the text is in a rescue file.
mkdir -p "$work/locked/${today}N.ruv"
start "$work/locked"
click 80 150
type_text "Rescue me"
kill -TERM "$app_pid"
for _ in $(seq 10); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "SIGTERM did not end the program within a second"
wait "$app_pid"
app_pid=
rescued=$(grep -l "Rescue me" "$work/state/Ruvo/"*.txt 2>/dev/null | head -n 1)
[ -n "$rescued" ] || fail "no rescue file holds the text"
grep -qF "$rescued" "$work/ruvo.log" || fail "the rescue file's path was not printed"
echo "real window: 3 passed, 0 failed"
