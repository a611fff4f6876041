#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program under a real X server with a window manager, which alone gives the windows
# their frames and shows their titles: Xvfb at 1280 x 1024 on a display it picks itself, openbox
# on it, the program on the xcb platform. Fails, never skips, when either cannot be started.
# Usage: with_real_x.sh program [argument...]
set -eu
[ $# -ge 1 ] || { echo "usage: $0 program [argument...]" >&2; exit 2; }

work=$(mktemp -d)
server=""
manager=""
stop_session() {
    [ -z "$manager" ] || kill "$manager" 2>/dev/null || true
    [ -z "$server" ] || kill "$server" 2>/dev/null || true
    wait 2>/dev/null || true
    manager=""
    server=""
}
# shellcheck disable=SC2317 # run by the trap
cleanup() {
    stop_session
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "with_real_x.sh: $1" >&2
    for log in "$work"/*.log; do [ -s "$log" ] && cat "$log" >&2; done
    exit 1
}

# Polls `condition` every 0.1 s for up to 10 s.
await() {
    tries=100
    until eval "$1"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# Starts Xvfb and openbox on a display the server picks; fails when either does not come up.
# The server accepts the cookie of any entry in its authority file; the clients look theirs up by
# display number, added once the server has said which display it took.
start_session() {
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    export XAUTHORITY="$work/authority"
    : >"$XAUTHORITY"
    : >"$work/display"
    xauth -q add :0 . "$cookie"
    Xvfb -displayfd 3 -auth "$XAUTHORITY" -screen 0 1280x1024x24 -nolisten tcp \
        3>"$work/display" >"$work/server.log" 2>&1 &
    server=$!
    # shellcheck disable=SC2016 # expanded by await
    await '[ -s "$work/display" ] || ! kill -0 "$server" 2>/dev/null' || true
    [ -s "$work/display" ] || return 1
    display=$(head -n 1 "$work/display")
    export DISPLAY=":$display"
    xauth -q add "$DISPLAY" . "$cookie"
    # The window manager's own configuration and cache stay out of the user's home.
    XDG_CONFIG_HOME="$work" XDG_CACHE_HOME="$work" openbox --sm-disable >"$work/manager.log" 2>&1 &
    manager=$!
    # shellcheck disable=SC2016 # expanded by await
    await 'manager_up || ! kill -0 "$manager" 2>/dev/null' || true
    manager_up
}

manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# Servers starting and stopping side by side can trip each other up: a few tries.
attempts=3
until start_session; do
    attempts=$((attempts - 1))
    [ "$attempts" -gt 0 ] || fail "no X server with a window manager came up"
    stop_session
done

# Libraries that only an X session loads bring sanitizer findings of their own (sanitizer builds).
here=$(cd "$(dirname "$0")" && pwd)
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}suppressions=$here/x11_asan.supp"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$here/x11_lsan.supp"

status=0
QT_QPA_PLATFORM=xcb timeout 60 "$@" || status=$?
exit "$status"
