# A private X session for running the program without a display: Xvfb plus a window
# manager (needed for close requests; XS_NO_WM=1 leaves it out). Source this file,
# then call xs_start.
# Everything started here is killed by xs_stop, which xs_start installs as EXIT trap.

XS_PIDS=()
XS_TMP=""

xs_start() {
    XS_TMP=$(mktemp -d)
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR="$XS_TMP/runtime"
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
    local fd_file="$XS_TMP/display"
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$fd_file" 2>"$XS_TMP/xvfb.log" &
    XS_PIDS+=($!)
    local i
    for i in $(seq 1 250); do
        [ -s "$fd_file" ] && break
        sleep 0.02
    done
    [ -s "$fd_file" ] || { echo "Xvfb did not start" >&2; cat "$XS_TMP/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$fd_file")"
    unset WAYLAND_DISPLAY
    if [ -z "${XS_NO_WM:-}" ]; then
        openbox --sm-disable >"$XS_TMP/openbox.log" 2>&1 &
        XS_PIDS+=($!)
        # Wait until the window manager has taken the screen.
        for i in $(seq 1 250); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.02
        done
    fi
    trap xs_stop EXIT
}

xs_stop() {
    local pid
    for pid in "${XS_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${XS_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    XS_PIDS=()
    if [ -n "$XS_TMP" ]; then
        case "${XDG_RUNTIME_DIR:-}" in "$XS_TMP"/*) unset XDG_RUNTIME_DIR ;; esac
        rm -rf "$XS_TMP"
    fi
    XS_TMP=""
}

# Waits are ceilings: a loaded machine or a sanitizer build can be many times slower.

# Prints the id of the first visible window of process $1; waits up to $2 seconds (30).
xs_wait_window() {
    local pid=$1 limit=${2:-30} wid="" i
    for i in $(seq 1 $((limit * 50))); do
        wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1) || true
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.02
    done
    return 1
}

# Prints the id of the visible window named exactly $1 once it has the keyboard focus;
# waits up to $2 seconds (30).
xs_wait_name() {
    local name=$1 limit=${2:-30} wid="" i
    for i in $(seq 1 $((limit * 50))); do
        wid=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n1) || true
        if [ -n "$wid" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ]; then
            echo "$wid"
            return 0
        fi
        sleep 0.02
    done
    return 1
}

# Asks window $1 of process $2 (a child of this shell) to close, answers Yes to a
# question, waits for the end and returns the program's exit status.
xs_close_program() {
    local wid=$1 pid=$2 i status=0
    wmctrl -i -c "$wid" 2>/dev/null || true
    for i in $(seq 1 1500); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" || status=$?
            return $status
        fi
        if xdotool search --onlyvisible --name '^系统询问$' >/dev/null 2>&1; then
            xdotool key --clearmodifiers Return
            sleep 0.1
        fi
        sleep 0.02
    done
    kill "$pid" 2>/dev/null || true
    return 1
}

# Another program takes the clipboard; then waits until the command $1, which lists the
# keepers still running, prints nothing. Returns 1 when they do not end.
xs_take_clipboard() {
    local list_keepers=$1 i
    echo other | xclip -selection clipboard -loops 1 >/dev/null 2>&1
    for i in $(seq 1 1500); do
        [ -z "$($list_keepers)" ] && return 0
        sleep 0.02
    done
    return 1
}
