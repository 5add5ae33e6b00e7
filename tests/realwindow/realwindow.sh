#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program itself in a real X window, driven as a person drives it: type into the notes
# and an hour field, turn the page forward and back with the corners and with the keys, find
# a page through the search, open the web site's confirmation box, double-click the day block
# and pick a date, write on that page, quit through the menu and the about box. Then the day files and
# the settings file are checked byte for byte. Then more runs: killed outright once the
# text it was left with has reached the day file by itself; ended by SIGTERM where the page
# cannot be saved, the program ends by itself and the text is in a rescue file; in a folder
# whose path is too long for a socket's address, a second start brings it to the front, then
# its X connection is cut and the text is saved all the same; ended by SIGTERM while every sync
# takes 5 s, the text is in a rescue file before the program's deadline; killed outright 0.1 to
# 1.9 s after the last key, the next start puts every key back from the journal of edits.
#
# Nothing waits a fixed time: each step waits for what shows that the program has done what it
# was asked (a file's bytes, a window shown, gone or focused, the page drawn, a key taken).
# Input needs no pacing, as the program handles its X events in the order they were sent; but
# a key goes where the focus is when it is sent, so a window opening or closing is waited for.
#
#   realwindow.sh PATH/TO/ruvo
#
# Exits 77 (skipped) when no X server can be started here.
set -uo pipefail
. "$(dirname "$0")/../waitfor.sh"
. "$(dirname "$0")/../xvfb.sh"

program=$1
for tool in Xvfb xdotool xprop xwininfo xwd; do
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

# The keyboard goes to that window.
has_focus() { [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$1" ]; }
# Hidden or destroyed.
gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
ended() { ! kill -0 "$1" 2>/dev/null; }
# Waits for the program to end by itself and sets status to its exit status; it is no longer
# ours to kill.
reap() {
    wait_for 10 ended "$app_pid"
    wait "$app_pid"
    status=$?
    app_pid=
}

# Pixels of a window as "bb gg rr" lines, one per X Y pair, from one dump of the window.
pixels() { # window, x y...
    local dump=$work/window.xwd words start
    xwd -silent -id "$1" >"$dump" 2>/dev/null || return 1
    shift
    # The header's words: its size (0), bits per pixel (11), bytes per line (12), colours (19).
    read -r -a words < <(od -An -tu4 --endian=big -N80 "$dump" | tr '\n' ' ')
    [ "${words[11]}" = 32 ] || { echo "a dump of ${words[11]} bits per pixel"; return 1; }
    start=$((words[0] + words[19] * 12))
    while [ $# -ge 2 ]; do
        od -An -tx1 -j $((start + $2 * words[12] + $1 * 4)) -N3 "$dump"
        shift 2
    done
}
# The page is drawn: its day block is red above the day number.
page_drawn() { # window
    local b g r
    read -r b g r < <(pixels "$1" 110 $((pad_top + 24))) || return 1
    # Anything but three bytes (a dump that failed) is no page; as a number it would abort the
    # test's loop.
    [[ "$b$g$r" =~ ^[0-9a-f]{6}$ ]] || return 1
    [ $((16#$r)) -gt 200 ] && [ $((16#$g)) -lt 80 ] && [ $((16#$b)) -lt 80 ]
}

# The program stamps the window it gets a key or a button press in with that press's time
# (_NET_WM_USER_TIME): an action of one press is taken once the stamp has changed.
stamp() { xprop -id "$1" _NET_WM_USER_TIME 2>/dev/null; }
restamped() { [ "$(stamp "$1")" != "$2" ]; }
taken() { # window, command pressing once
    local target=$1 before
    shift
    before=$(stamp "$target")
    "$@"
    wait_for 10 restamped "$target" "$before"
}
# Typed a key at a time, each once the one before is taken; for keys of one press (no capitals).
type_taken() { # window, text
    local i
    for ((i = 0; i < ${#2}; i++)); do
        taken "$1" xdotool type "${2:i:1}"
    done
}

fail() {
    echo "FAIL: $*"
    echo "--- program output"
    cat "$work/ruvo.log" 2>/dev/null
    echo "--- start folder"
    ls -la "$work/home" 2>/dev/null
    exit 1
}

start_xvfb 91 140

mkdir -p "$work/home" "$work/config" "$work/runtime" "$work/share" "$work/state"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export XDG_DATA_HOME=$work/share XDG_STATE_HOME=$work/state
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

today=$(date +%d%m%y)
tomorrow=$(date -d tomorrow +%d%m%y)
picked=$(date +%d%m)30 # the same day in 2030, chosen in the date dialog

start() { # folder, then what runs the program (keeping its process id), if anything
    local folder=$1
    shift
    (cd "$folder" && LC_ALL=en_US.UTF-8 exec "$@" "$program") >"$work/ruvo.log" 2>&1 &
    app_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" --name '^Ruvo$' | head -n 1)
    [ -n "$window" ] || fail "the main window did not appear"
    caption_is "$window" "Ruvo"
    eval "$(xdotool getwindowgeometry --shell "$window")" # X Y WIDTH HEIGHT
    [ "$WIDTH" = 387 ] || fail "window width $WIDTH"
    pad_x=$X
    pad_top=$((HEIGHT - 278)) # the pad fills the client area under the menu bar
    pad_y=$((Y + pad_top))
    xdotool windowfocus --sync "$window"
    wait_for 10 page_drawn "$window"
}
start "$work/home"
# The first page is drawn without an image format plugin, the network module or libical.
loaded=$(grep -oE 'imageformats/[^ ]+|libQt6Network[^ ]*|libical[^ ]*|libqt6keychain[^ ]*|libjpeg[^ ]*' "/proc/$app_pid/maps" | sort -u)
[ -z "$loaded" ] || fail "loaded for the first page: $loaded"

# Pointer positions are given on the pad.
move() {
    local x=$((pad_x + $1)) y=$((pad_y + $2))
    # --sync waits for the pointer to move: where it already is, it would wait out xdotool's
    # own time limit instead (15 s at each start of the killed runs).
    [ "$(xdotool getmouselocation --shell | head -n 2 | tr '\n' ' ')" = "X=$x Y=$y " ] && return
    xdotool mousemove --sync "$x" "$y"
}
click() { move "$1" "$2"; xdotool click 1; }
type_text() { xdotool type --delay 30 "$1"; }

click 80 150 # the notes
type_text "Hello Ruvo"
click 300 56 # the hour field of row 3
type_text "Dentist"
click 370 265 # next-day corner
click 18 265  # previous-day corner: back to today, its notes saved by the first turn

holds() { # file, expected bytes (printf format)
    local expected
    expected=$(printf "$2" | od -An -c)
    [ -f "$work/home/$1" ] || { echo "$1 is missing"; return 1; }
    [ "$(od -An -c <"$work/home/$1")" = "$expected" ] ||
        { echo "$1 holds $(od -An -c <"$work/home/$1"), expected $expected"; return 1; }
}
expect_file() { wait_for 10 holds "$@"; }
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
xdotool key alt+Home
expect_file "${tomorrow}N.ruv" 'Keyed\r\n'
expect_file "${after}N.ruv" ''
xdotool key ctrl+f
search=$(timeout 10 xdotool search --sync --onlyvisible --name '^Search$' | head -n 1)
[ -n "$search" ] || fail "Ctrl+F opened no search window"
wait_for 10 has_focus "$search"
# Each key starts a new search; once the last is taken, a row shown is a row of the whole word.
type_taken "$search" "keyed"
# The first row, chosen at once, is drawn selected over the list's background.
first_row_shown() {
    local shown
    shown=$(pixels "$search" 320 60 320 150) || return 1
    [ "$(head -n 1 <<<"$shown")" != "$(tail -n 1 <<<"$shown")" ]
}
wait_for 10 first_row_shown
xdotool key Return
wait_for 10 has_focus "$window"
type_text "Found"
xdotool key alt+Home
expect_file "${tomorrow}N.ruv" 'Found\r\n'
expect_file "${today}N.ruv" 'Hello Ruvo\r\n'
click 80 150

# The confirmation box of the web site, from the help menu, with its exact caption.
xdotool key alt+a
xdotool key s
confirmation=$(timeout 10 xdotool search --sync --onlyvisible --name '^Confirmation$' | head -n 1)
[ -n "$confirmation" ] || fail "the confirmation box did not open"
caption_is "$confirmation" "Confirmation"
wait_for 10 has_focus "$confirmation"
xdotool key Escape
wait_for 10 gone "$confirmation"

# The day block: a double-click opens the date dialog at the pointer.
move 130 40
xdotool click --repeat 2 --delay 80 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Calendar$' | head -n 1)
[ -n "$dialog" ] || fail "the date dialog did not open"
caption_is "$dialog" "Calendar"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
dialog_x=$X
dialog_y=$Y
wait_for 10 has_focus "$dialog"
xdotool mousemove --sync $((dialog_x + 150)) $((dialog_y + 16)) click --repeat 3 1 # the year
type_text "2030"
xdotool mousemove --sync $((dialog_x + 48)) $((dialog_y + 155)) click 1 # OK
wait_for 10 gone "$dialog"
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
xdotool mousemove --sync $((X + 157)) $((Y + 326)) click 1 # the closing picture
reap
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

# Left alone after typing, the text reaches the disk by itself; killed outright then, it stays.
start "$work/home"
click 80 150
type_text " Crash"
has_text() { grep -q "$1" "$2"; }
wait_for 10 has_text "Crash" "$work/home/${today}N.ruv"
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null
app_pid=
grep -q "Crash" "$work/home/${today}N.ruv" || fail "typed text lost to SIGKILL: $(cat "$work/home/${today}N.ruv")"

# The page cannot be saved where it belongs (a folder has the notes file's name). SIGTERM ends
# the program by itself, not by the alarm that ends a hung one, and the text is in a rescue
# file. A signal does not wait for X events: every key is taken before it is sent.
mkdir -p "$work/locked/${today}N.ruv"
start "$work/locked"
taken "$window" click 80 150
type_taken "$window" "rescue me"
kill -TERM "$app_pid"
reap
[ "$status" != $((128 + 14)) ] || fail "SIGTERM did not end the program: its alarm (SIGALRM) did"
rescued=$(grep -l "rescue me" "$work/state/Ruvo/"*.txt 2>/dev/null | head -n 1)
[ -n "$rescued" ] || fail "no rescue file holds the text"
grep -qF "$rescued" "$work/ruvo.log" || fail "the rescue file's path was not printed"

# A save that fails after a pause is reported while the user types on: the report takes no key.
# Once the notes can be saved again, every key is in the file.
mkdir -p "$work/blocked/${today}N.ruv"
start "$work/blocked"
taken "$window" click 80 150
type_taken "$window" "abc"
report_shown() {
    report=$(xdotool search --onlyvisible --pid "$app_pid" --name '^Ruvo$' | grep -vx "$window" |
        head -n 1)
    [ -n "$report" ]
}
wait_for 10 report_shown
type_taken "$window" "def"
rmdir "$work/blocked/${today}N.ruv"
type_taken "$window" "g"
wait_for 10 has_text "abcdefg" "$work/blocked/${today}N.ruv"
kill -TERM "$app_pid"
reap

# Killed outright a moment after the last key, before the pause in the typing has saved it: the
# next start puts every key back, saves it and says so. The kill waits the given time on
# purpose: it is the moment the test is about.
windows_shown() { # count
    [ "$(xdotool search --onlyvisible --pid "$app_pid" --name '^Ruvo$' | wc -l)" -ge "$1" ]
}
typed="twenty-five keys typed in"
for delay in 0.1 0.3 0.5 1.9; do
    folder=$work/killed-$delay
    mkdir -p "$folder"
    start "$folder"
    taken "$window" click 80 150
    type_taken "$window" "$typed"
    sleep "$delay"
    kill -KILL "$app_pid"
    wait "$app_pid" 2>/dev/null
    app_pid=
    # Late, the save the pause brings may have come first: then there is nothing to put back.
    shown=2
    has_text "$typed" "$folder/${today}N.ruv" 2>/dev/null && shown=1
    # The window and the box that tells what came back (it may cover the page).
    (cd "$folder" && LC_ALL=en_US.UTF-8 exec "$program") >"$work/ruvo.log" 2>&1 &
    app_pid=$!
    wait_for 20 windows_shown "$shown"
    wait_for 10 has_text "$typed" "$folder/${today}N.ruv"
    kill -TERM "$app_pid"
    reap
    [ "$status" = 0 ] || fail "killed $delay s after typing, the next run ended with status $status"
    holds "../killed-$delay/${today}N.ruv" "$typed\r\n" ||
        fail "killed $delay s after typing, the day file does not hold every key"
done

# A notes folder that cannot be made (a file has the name of a folder above it), started as the
# menu starts it: the reason shows in a box, not only on a standard error nobody reads.
: >"$work/not-a-folder"
(RUVO_HOME="$work/not-a-folder/Ruvo" LC_ALL=en_US.UTF-8 exec "$program" --notes-folder) \
    >"$work/refused.log" 2>&1 &
app_pid=$!
box=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" --name '^Ruvo$' | head -n 1)
[ -n "$box" ] || fail "no box said why the notes folder cannot be made"
grep -q "ne peut créer le dossier" "$work/refused.log" || fail "the reason is not on standard error: $(cat "$work/refused.log")"
xdotool windowfocus --sync "$box" key Return
reap
[ "$status" = 1 ] || fail "a start that cannot make its folder ended with status $status"

# A folder path of over 108 bytes: a second start there reaches the running copy and ends, its
# window brought to the front. Then the X connection is cut, as xkill does it: the toolkit ends
# the program, which saves the page first.
deep=$work$(printf '/a-folder-with-a-long-name%.0s' 1 2 3 4 5) # over 130 bytes
mkdir -p "$deep"
start "$deep"
(cd "$deep" && LC_ALL=en_US.UTF-8 timeout 20 "$program") >"$work/second.log" 2>&1
status=$?
[ "$status" = 0 ] || fail "a second start ended with status $status: $(cat "$work/second.log")"
ended "$app_pid" && fail "a second start ended the first"
taken "$window" click 80 150
type_taken "$window" "cut off"
xdotool windowkill "$window"
reap
grep -q "cut off" "$deep/${today}N.ruv" ||
    grep -q "cut off" "$work/state/Ruvo/"*.txt 2>/dev/null ||
    fail "typed text lost to a cut X connection"

# Every sync takes 5 s (a slow network or USB disk) and SIGTERM comes right after typing: the
# save outlasts the program's deadline, and the page reaches a rescue file before it.
if command -v strace >/dev/null; then
    start "$work/home" strace -D -f --seccomp-bpf -qq -o /dev/null -e trace=fdatasync \
        -e inject=fdatasync:delay_enter=5000000
    taken "$window" click 80 150
    type_taken "$window" "slow disk"
    kill -TERM "$app_pid"
    reap
    [ "$status" != $((128 + 14)) ] || fail "the alarm (SIGALRM) ended the program, not its rescue"
    rescued=$(grep -l "slow disk" "$work/state/Ruvo/"*.txt 2>/dev/null | head -n 1)
    [ -n "$rescued" ] || fail "with slow syncs, no rescue file holds the text"
    grep -qF "$rescued" "$work/ruvo.log" || fail "the rescue file's path was not printed"
    echo "real window: 8 passed, 0 failed"
else
    echo "real window: 7 passed, 0 failed (strace is not installed: slow syncs not tried)"
fi
