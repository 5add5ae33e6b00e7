#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a DESTDIR as a package would (prefix /usr, stripped), checks what
# lands where and validates the desktop entry and the AppStream description. Then starts the
# installed program as the desktop entry does, from a fresh home folder, ends it as a session
# end does, and checks that it found the installed page sound and help, that the day files went
# to ~/Ruvo and that nothing else went into the home folder.
#
#   install.sh BUILD_FOLDER
set -uo pipefail
. "$(dirname "$0")/../waitfor.sh"

build=$1
work=$(mktemp -d)
trap 'kill "$app_pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
app_pid=
fail() { echo "FAIL: $*"; cat "$work/ruvo.log" 2>/dev/null; exit 1; }

dest=$work/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr --strip >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install"; }

libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
expected=(
    usr/bin/ruvo
    "usr/${libdir:-lib}/ruvo/libruvo_caldav.so"
    "usr/${libdir:-lib}/ruvo/libruvo_icalendar.so"
    "usr/${libdir:-lib}/ruvo/libruvo_soundeffect.so"
    "usr/${libdir:-lib}/ruvo/ruvo-reminders"
    usr/share/ruvo/paper.wav usr/share/ruvo/DOCFR.HLP usr/share/ruvo/DOCEN.HLP
    usr/share/ruvo/DOCDE.HLP
    usr/share/applications/org.example.Ruvo.desktop
    usr/share/metainfo/org.example.Ruvo.metainfo.xml
    usr/share/man/man1/ruvo.1.gz
    usr/share/doc/ruvo/changelog.gz usr/share/doc/ruvo/copyright
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/org.example.Ruvo.png")
done
for file in "${expected[@]}"; do
    [ -f "$dest/$file" ] || fail "not installed: $file"
done
(cd "$dest" && find . -type f | sed 's|^\./||' | sort) >"$work/installed.txt"
printf '%s\n' "${expected[@]}" | sort >"$work/expected.txt"
diff -u "$work/expected.txt" "$work/installed.txt" || fail "the installed files differ"

# The Debian package holds the same files, and the libraries it needs.
if command -v dpkg-shlibdeps >/dev/null; then
    (cd "$work" && cpack -G DEB -B "$work/package" --config "$build/CPackConfig.cmake" \
        >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack -G DEB"; }
    deb=$(ls "$work"/package/ruvo_*.deb)
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort \
        >"$work/packaged.txt"
    diff -u "$work/expected.txt" "$work/packaged.txt" || fail "the package's files differ"
    depends=$(dpkg-deb -f "$deb" Depends)
    for library in libqt6widgets6 libical3; do
        grep -qw "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
    done
    # What a distribution asks of a package. The hardening of its build is scripts/package's, and
    # only this build's /usr/local library folder, lib/, has CPack call ldconfig for the modules.
    if command -v lintian >/dev/null; then
        lintian --fail-on error,warning --suppress-tags \
            hardening-no-bindnow,hardening-no-fortify-functions,maintscript-calls-ldconfig "$deb" ||
            fail "lintian finds errors or warnings in the package"
    fi
else
    echo "note: dpkg-dev is not installed, the Debian package was not built"
fi

# The program finds its parts from its own folder: no build or install path is compiled in.
if strings "$dest/usr/bin/ruvo" | grep -qF "$(cd "$build" && pwd)"; then
    fail "the program holds the build folder's path"
fi

if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$dest/usr/share/metainfo/org.example.Ruvo.metainfo.xml" ||
        fail "appstreamcli validate"
else
    echo "note: appstreamcli is not installed, the AppStream file was not validated"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$dest/usr/share/applications/org.example.Ruvo.desktop" ||
        fail "desktop-file-validate"
else
    echo "note: desktop-file-validate is not installed, the desktop entry was not validated"
fi

# `ruvo --reminders` becomes the installed agent, which ends at once with reminders off.
mkdir -m 700 "$work/agent"
agent_said=$(env XDG_CONFIG_HOME="$work/agent" XDG_RUNTIME_DIR="$work/agent" \
    "$dest/usr/bin/ruvo" --reminders --folder "$work/agent" 2>&1) ||
    fail "ruvo --reminders: $agent_said"
grep -qF "les rappels sont désactivés" <<<"$agent_said" || fail "ruvo --reminders: $agent_said"

# Started as the desktop entry starts it: from the home folder, with its Exec line's options.
exec_line=$(sed -n 's/^Exec=//p' "$dest/usr/share/applications/org.example.Ruvo.desktop")
read -r -a command <<<"$exec_line"
[ "${command[0]}" = ruvo ] || fail "Exec does not start ruvo: $exec_line"
home=$work/home
mkdir -p "$home" "$work/runtime"
# Which of its files the program looks up, to see that it finds the installed ones.
trace=()
command -v strace >/dev/null && trace=(strace -f -qq -e trace=statx,newfstatat,stat,lstat,access,faccessat,faccessat2 -o "$work/stat.log")
chmod 700 "$work/runtime"
(cd "$home" && exec env -u RUVO_HOME HOME="$home" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_STATE_HOME="$home/.local/state" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
    "${trace[@]}" "$dest/usr/bin/ruvo" "${command[@]:1}" >"$work/ruvo.log" 2>&1) &
app_pid=$!
# It listens for a second start once its window exists, and its handler of a session end was
# set up before that; the handler runs in the event loop, so after the window is shown. The
# socket is in the private runtime folder.
listening() {
    local socket
    for socket in "$work/runtime"/ruvo-*.socket; do [ -S "$socket" ] && return 0; done
    return 1
}
wait_for 30 listening
# Under strace the program is strace's child.
target=$app_pid
[ ${#trace[@]} -gt 0 ] && target=$(pgrep -P "$app_pid" -x ruvo)
kill -TERM "${target:-$app_pid}"
wait "$app_pid"
app_pid=
today=$(date +%d%m%y)
for kind in N T; do
    [ -f "$home/Ruvo/${today}${kind}.ruv" ] || fail "no ${today}${kind}.ruv in ~/Ruvo"
done
if [ ${#trace[@]} -gt 0 ]; then
    for file in paper.wav DOCFR.HLP; do
        grep -q "\"$dest/usr/share/ruvo/$file\".* = 0" "$work/stat.log" ||
            fail "the installed $file was not found"
    done
fi
# The export to a calendar file loads its module from where the install put it.
printf 'Installed\r\n' >"$home/Ruvo/${today}N.ruv"
(cd "$home/Ruvo" && env -u RUVO_MODULE_DIR HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    ASAN_OPTIONS=detect_leaks=0 "$dest/usr/bin/ruvo" --export "$work/notes.ics" \
    >"$work/ruvo.log" 2>&1) || fail "ruvo --export notes.ics"
grep -q '^DESCRIPTION:Installed' "$work/notes.ics" || fail "the exported calendar lacks the notes"
loose=$(cd "$home" && find . -mindepth 1 -maxdepth 1 ! -name Ruvo ! -name .config ! -name .local)
[ -z "$loose" ] || fail "new in the home folder: $loose"
echo "PASS"
