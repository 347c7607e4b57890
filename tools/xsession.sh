# SPDX-License-Identifier: GPL-3.0-or-later
# A private X session for running the program without a display: Xvfb plus a window
# manager (needed for close requests; XS_NO_WM=1 leaves it out). Source this file,
# then call xs_start. XS_SCREEN sets the screen's size and depth (1024x768x24).
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
    Xvfb -displayfd 5 -screen 0 "${XS_SCREEN:-1024x768x24}" -nolisten tcp 5>"$fd_file" 2>"$XS_TMP/xvfb.log" &
    XS_PIDS+=($!)
    local i
    for i in $(seq 1 250); do
        [ -s "$fd_file" ] && break
        sleep 0.02
    done
    [ -s "$fd_file" ] || { echo "Xvfb did not start" >&2; cat "$XS_TMP/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$fd_file")"
    unset WAYLAND_DISPLAY
    # No session bus here. Without an address, D-Bus would launch one through the X
    # server, and the program's accessibility bridge waits on that launch at start-up:
    # once it waited for good, and the window never came. An address that leads nowhere
    # fails at once.
    if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
        export DBUS_SESSION_BUS_ADDRESS="unix:path=$XS_TMP/no-session-bus"
    fi
    # The display number can be out before the server takes connections.
    for i in $(seq 1 250); do
        xprop -root >/dev/null 2>&1 && break
        sleep 0.02
    done
    if [ -z "${XS_NO_WM:-}" ]; then
        xs_start_window_manager || { echo "the window manager did not start" >&2; return 1; }
    fi
    trap xs_stop EXIT
}

# Starts openbox and waits until it has finished starting: it names its theme and
# publishes its (empty) client list last, just before it handles requests. Tries again
# when it could not connect.
xs_start_window_manager() {
    local attempt i props pid
    for attempt in 1 2 3; do
        openbox --sm-disable >"$XS_TMP/openbox.log" 2>&1 &
        pid=$!
        for i in $(seq 1 500); do
            kill -0 "$pid" 2>/dev/null || break
            props=$(xprop -root _OB_THEME _NET_CLIENT_LIST 2>/dev/null) || props=""
            case "$props" in
            "" | *"not found"* | *"no such atom"*) sleep 0.02 ;;
            *)
                XS_PIDS+=("$pid")
                return 0
                ;;
            esac
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        sleep 0.2
    done
    cat "$XS_TMP/openbox.log" >&2
    return 1
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

# Says what a test found wrong and ends it.
fail() {
    echo "FAIL: $*"
    exit 1
}

# How far the middle of window $1, its frame included as the window manager reports it, is
# from the middle of the screen: "dx dy" in pixels, twice the offset.
xs_offset_from_centre() {
    local wid=$1 left top width height el er et eb screen_width screen_height
    read -r left top width height < <(xwininfo -id "$wid" -frame |
        awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
             /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}')
    read -r el er et eb < <(xprop -id "$wid" _NET_FRAME_EXTENTS | sed -n 's/.*= //; s/,//gp')
    [ -n "$eb" ] || return 1 # not framed yet
    read -r screen_width screen_height < <(xwininfo -root |
        awk '/^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print w, h}')
    echo "$((2 * (left - el) + width + el + er - screen_width))" \
        "$((2 * (top - et) + height + et + eb - screen_height))"
}

# Waits until window $1 has its frame and stands, frame included, in the middle of the
# screen (within a pixel): the window manager frames the window, then the program centres
# it again. Up to $2 seconds (10); returns 1 when it does not.
xs_wait_centred() {
    local wid=$1 limit=${2:-10} i dx dy
    for i in $(seq 1 $((limit * 50))); do
        if read -r dx dy < <(xs_offset_from_centre "$wid") &&
            [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]; then
            return 0
        fi
        sleep 0.02
    done
    return 1
}

# Waits until the window manager has handled every request about window $1 made before
# the call: it handles them in order, so once it shows a state asked for after them (the
# window kept above the others, then no longer) they are done. Up to 10 s each way.
xs_wm_sync() {
    local wid=$1 want i
    for want in 0 1; do
        if [ "$want" -eq 0 ]; then
            wmctrl -i -r "$wid" -b add,above
        else
            wmctrl -i -r "$wid" -b remove,above
        fi
        for i in $(seq 1 500); do
            if xprop -id "$wid" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; then
                [ "$want" -eq 0 ] && break
            else
                [ "$want" -eq 1 ] && break
            fi
            sleep 0.02
        done
        [ "$i" -lt 500 ] || return 1
    done
}

# Waits until window $1 shows more than $2 colours (100): the program has drawn it. Up to
# $3 seconds (10).
xs_wait_drawn() {
    local wid=$1 least=${2:-100} limit=${3:-10} i
    for i in $(seq 1 $((limit * 10))); do
        [ "$(import -window "$wid" -depth 8 png:- 2>/dev/null | identify -format '%k' - 2>/dev/null ||
            echo 0)" -gt "$least" ] && return 0
        sleep 0.1
    done
    return 1
}

# What the screen holds, for a test that did not find what it waited for.
xs_diagnose() {
    local wid
    echo "visible windows:" >&2
    for wid in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        echo "  $wid '$(xdotool getwindowname "$wid" 2>/dev/null)'" >&2
    done
    echo "active window: $(xdotool getactivewindow 2>/dev/null)" >&2
    if [ -n "$XS_TMP" ] && [ -f "$XS_TMP/openbox.log" ]; then
        echo "window manager processes: $(pgrep -x openbox | tr '\n' ' ')" >&2
        echo "window manager log:" >&2
        cat "$XS_TMP/openbox.log" >&2
    fi
    # A program that is there but shows nothing: where each of its threads stands.
    if [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null && command -v gdb >/dev/null; then
        echo "threads of process $1:" >&2
        timeout 60 gdb -p "$1" -batch -ex 'thread apply all bt 12' 2>/dev/null |
            grep -E '^(Thread|#)' >&2 || true
    fi
}

# Prints the id of the first visible window of process $1; waits up to $2 seconds (30).
xs_wait_window() {
    local pid=$1 limit=${2:-30} wid="" i
    for i in $(seq 1 $((limit * 50))); do
        wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1) || true
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "process $pid ended before showing a window" >&2
            return 1
        fi
        sleep 0.02
    done
    echo "no visible window of process $pid after ${limit} s" >&2
    xs_diagnose "$pid"
    return 1
}

# Prints the id of the visible window named exactly $1 once it has the keyboard focus,
# asking the window manager to give it the focus if it has not taken it by itself;
# waits up to $2 seconds (30).
xs_wait_name() {
    local name=$1 limit=${2:-30} wid="" i
    for i in $(seq 1 $((limit * 50))); do
        wid=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n1) || true
        if [ -n "$wid" ]; then
            [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ] && { echo "$wid"; return 0; }
            [ $((i % 25)) -eq 0 ] && xdotool windowactivate "$wid" 2>/dev/null
        fi
        sleep 0.02
    done
    if [ "$limit" -ge 5 ]; then
        echo "no focused window named '$name' after ${limit} s" >&2
        xs_diagnose
    fi
    return 1
}

# Waits until no visible window is named exactly $1; up to $2 seconds (5). Returns 1
# when one still is.
xs_wait_gone() {
    local name=$1 limit=${2:-5} i
    for i in $(seq 1 $((limit * 50))); do
        xdotool search --onlyvisible --name "^${name}\$" >/dev/null 2>&1 || return 0
        sleep 0.02
    done
    return 1
}

# Asks window $1 of process $2 (a child of this shell) to close, answers Yes to the
# exit question, waits for the end and returns the program's exit status.
xs_close_program() {
    local wid=$1 pid=$2 status=0 deadline=$((SECONDS + 30))
    wmctrl -i -c "$wid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null; do
        if xs_wait_name "系统询问" 1 >/dev/null; then
            xdotool key --clearmodifiers Return
        fi
        if [ $SECONDS -gt $deadline ]; then
            echo "process $pid did not end after a close request" >&2
            xs_diagnose
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
            return 1
        fi
    done
    wait "$pid" || status=$?
    return $status
}

# The clipboard keepers that the program $1 started: the program's own image, running
# under the keeper's process name.
xs_keepers_of() {
    local exe pid
    exe=$(realpath "$1")
    for pid in $(pgrep -x mirthkey-keeper || true); do
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$exe" ] && echo "$pid"
    done
    return 0
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

# Starts weston inside the private X server (its X11 backend: a window of 1024 x 768 there,
# which takes the X server's keyboard and pointer), with an XWayland server of its own.
# Exports WAYLAND_DISPLAY; XS_HOST_DISPLAY is the private X server (input, screenshots),
# XS_XWAYLAND the display of weston's XWayland. Call after xs_start with XS_NO_WM=1.
xs_start_weston() {
    local i display=""
    XS_HOST_DISPLAY=$DISPLAY
    printf '[shell]\npanel-position=none\nbackground-color=0xff336699\n[core]\nidle-time=0\n' \
        >"$XS_TMP/weston.ini"
    weston --backend=x11-backend.so --width=1024 --height=768 --xwayland \
        --socket="mirthkey-$$" --config="$XS_TMP/weston.ini" --log="$XS_TMP/weston.log" \
        >/dev/null 2>&1 &
    XS_PIDS+=($!)
    for i in $(seq 1 1500); do
        display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
            "$XS_TMP/weston.log" 2>/dev/null | head -n1) || true
        [ -n "$display" ] && [ -S "$XDG_RUNTIME_DIR/mirthkey-$$" ] && break
        sleep 0.02
    done
    [ -n "$display" ] || { echo "weston did not start" >&2; cat "$XS_TMP/weston.log" >&2; return 1; }
    export WAYLAND_DISPLAY="mirthkey-$$"
    XS_XWAYLAND=$display
    # The desktop shell has drawn its background once the output shows a colour of its own.
    for i in $(seq 1 1500); do
        if [ "$(xs_host_pixel 1000 700)" = "336699" ]; then
            # Weston takes clicks only once the pointer has moved into its window.
            DISPLAY=$XS_HOST_DISPLAY xdotool mousemove 1000 700
            return 0
        fi
        sleep 0.02
    done
    echo "weston shows no desktop" >&2
    return 1
}

# The colour (RRGGBB) of the pixel at $1, $2 of the private X server's screen.
xs_host_pixel() {
    DISPLAY=$XS_HOST_DISPLAY import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F
}

# The caption of the program's window this year, for the version in EXPECTED_VERSION, which
# the tests' CMake files set from the project() line: 1.2.0.65 gives
# "Mirthkey<year>  V1.2.0 Build 65".
xs_caption() {
    local major minor patch build
    IFS=. read -r major minor patch build <<<"${EXPECTED_VERSION:?the version the program carries}"
    echo "Mirthkey$(date +%Y)  V$major.$minor.$patch Build $build"
}
