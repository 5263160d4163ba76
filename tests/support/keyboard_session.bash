# The program's window driven by the keyboard alone, on an X server, with xdotool: open a port,
# send a command, save the log, leave with Escape. Sourced by the tests that run a built program
# as a user has it; they set `test_name` first.

wait_seconds=${wait_seconds:-60}
work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
# A test that leaves more behind defines clean_up_more.
cleanup() {
    if declare -F clean_up_more > /dev/null; then clean_up_more; fi
    # A program or X server that has ended already is no failure of the test's.
    if [[ -n "$program_pid" ]]; then kill "$program_pid" 2> /dev/null || true; fi
    if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2> /dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "$test_name: $*" >&2
    exit 1
}

# Polls `condition` (a command) for up to `seconds`; fails (status 1) when it never held.
poll() {
    local seconds="$1"
    shift
    for _ in $(seq $((seconds * 10))); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}

# Polls `condition` until it holds, or ends the test after the generous wait.
wait_for() {
    local what="$1"
    shift
    poll "$wait_seconds" "$@" || fail "waited ${wait_seconds} s in vain for $what"
}

# An X server of our own unless the caller has a display.
use_x_server() {
    [[ -n "${DISPLAY:-}" ]] && return 0
    Xvfb -displayfd 6 -screen 0 1280x1024x24 -nolisten tcp 6> "$work/display" 2> /dev/null &
    xvfb_pid=$!
    wait_for "the X server" test -s "$work/display"
    export DISPLAY=":$(cat "$work/display")"
}

keys() { xdotool key --delay 50 "$@"; }

# Runs the program in the background and waits for its window to take the keyboard.
start_program() {
    "$@" &
    program_pid=$!
    window=""
    find_window() {
        window="$(xdotool search --onlyvisible --name '^Q-Dax' 2> /dev/null | head -1)"
        [[ -n "$window" ]]
    }
    wait_for "the program's window" find_window
    xdotool windowfocus --sync "$window"
}

# Picks the port whose entry in the chooser starts with `item` (typed, as a search; no spaces, as a
# space opens the chooser's list), opens it with Reset Port, and sends `command` from Manual Entry; `on_the_wire` (a command) tells when
# the device has it.
send_command() {
    local item="$1" command="$2"
    shift 2
    # Keys that reach a busy program before it has made its window active are lost to the
    # window's shortcuts: the whole sequence is typed again until the device has the command.
    for _ in 1 2 3 4 5 6; do
        keys alt+c
        xdotool type --delay 50 "$item"
        keys alt+r alt+m ctrl+a
        xdotool type --delay 50 "$command"
        keys Return
        poll $((wait_seconds / 6)) "$@" && return 0
    done
    fail "waited ${wait_seconds} s in vain for the command on the wire"
}

# Saves the log through Save Log under `name` (as the program spells the path) until the file at
# `path` holds exactly `expected`.
save_log() {
    local name="$1" path="$2" expected="$3"
    saved_as_expected() {
        keys alt+s ctrl+a
        xdotool type --delay 20 "$name"
        keys Return
        cmp -s "$path" <(printf '%s' "$expected")
    }
    wait_for "the answer in the saved log" saved_as_expected
}

# Escape closes the window; the program must end with status 0.
leave_with_escape() {
    keys Escape
    local status=0
    wait "$program_pid" || status=$?
    program_pid=""
    [[ $status == 0 ]] || fail "the program ended with status $status"
}
