# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by each desktop test: the binary, a scratch folder, processes that are ended on every
# way out, bounded waits, and the lines a test prints.
#   ok "what was shown"      one proven fact
#   fail "why"               FAIL and exit 1 (the logs of the scratch folder are printed first)
#   not_ok "why"             a failed check that does not stop the test; finish "summary" ends it
#   skip "why"               SKIP and exit 77
#   start NAME CMD...        CMD in a session of its own, output in $desk/NAME.log; ended at exit
#   wait_until SECONDS CMD...  true once CMD succeeds, false when the time is up
# JOTSHELF_DESK_HOLD=SECONDS keeps a failed desktop running that long; JOTSHELF_DESK_KEEP=1 keeps
# the scratch folder.

set -u -o pipefail

desk_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
desk_name=$(basename "$0" .sh)
desk_pids=()
desk=""

ok() { echo "ok: $*"; }

# A failed check after which the others still tell something: printed now, FAIL at finish.
desk_failures=()
not_ok() {
    echo "not ok: $*"
    desk_failures+=("$*")
}
finish() {
    if ((${#desk_failures[@]})); then
        local IFS=';'
        fail "${desk_failures[*]}"
    fi
    echo "$*"
}

skip() {
    echo "SKIP: $*"
    exit 77
}

fail() {
    if [[ -n $desk && -d $desk ]]; then
        for log in "$desk"/*.log; do
            [[ -s $log ]] || continue
            echo "--- $(basename "$log") (last lines)"
            tail -n 25 "$log"
        done
    fi
    echo "FAIL: $*"
    if [[ -n ${JOTSHELF_DESK_HOLD:-} ]]; then
        # For a look at the failed desktop from another shell (nsenter for gnome.sh).
        echo "holding for $JOTSHELF_DESK_HOLD s: pid $$ DISPLAY=${DISPLAY:-} WAYLAND_DISPLAY=${WAYLAND_DISPLAY:-} desk=$desk"
        sleep "$JOTSHELF_DESK_HOLD"
    fi
    exit 1
}

need() {
    local program
    for program in "$@"; do
        command -v "$program" >/dev/null 2>&1 \
            || skip "$program is not installed (see tests/desktops/$desk_name.packages)"
    done
}

desk_binary() {
    [[ $# -ge 1 && -x $1 ]] || { echo "usage: $0 path/to/jotshelf" >&2; exit 2; }
    binary=$(realpath "$1")
}

# The scratch folder: HOME, XDG_CONFIG_HOME and a 0700 XDG_RUNTIME_DIR.
make_desk() {
    desk=$(mktemp -d /tmp/jotshelf-desk-"$desk_name".XXXXXX)
    chmod 755 "$desk"
    mkdir -p "$desk/home/.config" "$desk/bin"
    mkdir -m 700 "$desk/run"
    ln -s "$binary" "$desk/bin/jotshelf"
    export HOME=$desk/home XDG_CONFIG_HOME=$desk/home/.config XDG_RUNTIME_DIR=$desk/run
    export PATH=$desk/bin:$PATH
    unset DISPLAY WAYLAND_DISPLAY XAUTHORITY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS SWAYSOCK
    unset XDG_SESSION_TYPE XDG_CURRENT_DESKTOP
}

start() {
    local name=$1
    shift
    setsid "$@" >"$desk/$name.log" 2>&1 </dev/null &
    desk_pids+=($!)
}

cleanup() {
    local pid i
    for ((i = ${#desk_pids[@]} - 1; i >= 0; i--)); do
        kill -TERM -- "-${desk_pids[i]}" 2>/dev/null
    done
    for _ in $(seq 30); do
        local alive=0
        for pid in "${desk_pids[@]}"; do kill -0 -- "-$pid" 2>/dev/null && alive=1; done
        ((alive)) || break
        sleep 0.1
    done
    for pid in "${desk_pids[@]}"; do kill -KILL -- "-$pid" 2>/dev/null; done
    wait 2>/dev/null
    if [[ -n $desk && -d $desk && -z ${JOTSHELF_DESK_KEEP:-} ]]; then rm -rf "$desk"; fi
}
trap cleanup EXIT
trap 'fail "interrupted"' INT TERM HUP

wait_until() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.2
    done
}

# A session bus of the test's own. Only the services a stock desktop of this kind would start
# are activatable: the desktop portal is left out, so that a GlobalShortcuts portal of another
# desktop (xdg-desktop-portal-kde, when installed) cannot answer for this one.
# Sets DBUS_SESSION_BUS_ADDRESS. Arguments: a command prefix to run the bus under (setpriv ...).
start_session_bus() {
    mkdir -p "$desk/services"
    local service
    for service in /usr/share/dbus-1/services/*.service; do
        case $(basename "$service") in
        org.freedesktop.portal.* | org.freedesktop.impl.portal.desktop.* | org.kde.*) ;;
        *) ln -s "$service" "$desk/services/" ;;
        esac
    done
    cat >"$desk/session-bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$desk/session-bus</listen>
  <servicedir>$desk/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    start session-bus "$@" dbus-daemon --nofork --config-file="$desk/session-bus.conf"
    wait_until 10 test -S "$desk/session-bus" || fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$desk/session-bus
}

bus_has_name() {
    gdbus call --session --timeout 5 -d org.freedesktop.DBus -o /org/freedesktop/DBus \
        -m org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}

# Jotshelf's own output.
jot_log() { cat "$desk/jotshelf.log" 2>/dev/null; }
jot_said() { grep -qF -- "$1" "$desk/jotshelf.log" 2>/dev/null; }
jot_count() { grep -cF -- "$1" "$desk/jotshelf.log" 2>/dev/null; }

# The note as written to disk.
note_has() { grep -qF -- "$1" "$XDG_CONFIG_HOME/Jotshelf/note.conf" 2>/dev/null; }

# The drawer (the X11 window named "Notepad") is mapped on $DISPLAY; a hidden drawer may have
# no X window at all.
# grep -c reads to the end: with -q, xwininfo could die of SIGPIPE and pipefail fail the check.
drawer_mapped() { xwininfo -name Notepad 2>/dev/null | grep -c 'Map State: IsViewable' >/dev/null; }
drawer_unmapped() { ! drawer_mapped; }

# The "   Final: (x, y, w, h)" frame of the last slide-in as a Qt rectangle "X Y W H" (top-left
# origin) on a screen SCREEN_HEIGHT high.
final_rect() {
    local screen_height=$1
    grep -F '   Final: (' "$desk/jotshelf.log" | tail -n 1 \
        | sed -E 's/.*\((.*)\).*/\1/; s/, / /g' \
        | awk -v H="$screen_height" '{ printf "%d %d %d %d\n", $1, H - ($2 + $4), $3, $4 }'
}

# Screenshots go to $JOTSHELF_DESK_SHOTS when it is set.
shots_wanted() { [[ -n ${JOTSHELF_DESK_SHOTS:-} ]]; }
