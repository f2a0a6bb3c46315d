#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later
# GNOME Shell (43 on Debian 12, 48 on Debian 13) on Wayland, headless, with Jotshelf through
# XWayland. Keys go through mutter's
# own input path (org.gnome.Mutter.RemoteDesktop), as a keyboard would.
# Proves: the no-tray start (line and drawer), the notice reaching GNOME Shell's notification
# server, typing landing in the note on disk, and the README's custom shortcut toggling the drawer.
#   tests/desktops/gnome.sh build/jotshelf
source "$(dirname "$0")/common.bash"
desk_binary "$@"
need gnome-shell gjs gdbus dbus-daemon dbus-monitor xwininfo xprop /usr/bin/python3 unshare
[[ -x /usr/libexec/gsd-media-keys ]] || skip "gsd-media-keys is missing (gnome-settings-daemon)"

# Mutter picks its X display number from the lock files and sockets in /tmp and leaves its own
# there: a /tmp of its own (a private mount namespace, as root) keeps it and the X servers of
# other programs apart. The abstract X sockets are shared still; mutter steps past those taken.
if [[ -z ${JOTSHELF_DESK_PRIVATE_TMP:-} ]]; then
    ((EUID == 0)) || skip "needs root for a private /tmp (unshare -m)"
    JOTSHELF_DESK_PRIVATE_TMP=1 exec unshare --mount --propagation private "$0" "$@"
fi
# What this test needs from the old /tmp (the binary, these scripts, the screenshot folder: a
# clone may live there, as on CI) is bound back into the new one at the same place.
under_tmp=()
for path in "$binary" "$desk_here" ${JOTSHELF_DESK_SHOTS:+"$(realpath "$JOTSHELF_DESK_SHOTS")"}; do
    [[ $path == /tmp/* ]] && under_tmp+=("$(cut -d/ -f3 <<<"$path")")
done
old_tmp=$(mktemp -d /var/tmp/jotshelf-desk-tmp.XXXXXX) || fail "cannot make a folder in /var/tmp"
mount --bind /tmp "$old_tmp" || fail "cannot keep the old /tmp at hand"
mount -t tmpfs -o mode=1777 jotshelf-desk /tmp || fail "cannot mount a private /tmp"
mkdir -m 1777 /tmp/.X11-unix
for top in $(printf '%s\n' "${under_tmp[@]}" | sort -u); do
    if [[ -d $old_tmp/$top ]]; then mkdir -p "/tmp/$top"; else touch "/tmp/$top"; fi
    mount --bind "$old_tmp/$top" "/tmp/$top" || fail "cannot bind /tmp/$top into the private /tmp"
done
umount "$old_tmp" && rmdir "$old_tmp"
# GNOME Shell 48 asks systemd's cgroup tree which unit it runs in before it lets XWayland's X11
# clients in; without /sys (a Debian root made by scripts/debian-root has none) the question
# fails ("Error fetching own systemd unit"), the X display never opens and every X11 client
# waits for it. With the cgroup tree it learns that it runs in no unit, as outside systemd.
if ! mountpoint -q /sys; then
    mount -t sysfs sysfs /sys || fail "cannot mount /sys"
    mount -t cgroup2 cgroup2 /sys/fs/cgroup || fail "cannot mount the cgroup tree"
fi

make_desk
# gnome-shell needs a system bus; a private one with the session policy is enough: the services
# it looks for there (logind, accounts, polkit) are missing, which it survives.
start system-bus dbus-daemon --session --nofork --address="unix:path=$desk/system-bus"
wait_until 10 test -S "$desk/system-bus" || fail "the system bus did not start"
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$desk/system-bus
start_session_bus
export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland XDG_SESSION_DESKTOP=gnome
start gnome-shell gnome-shell --headless --wayland --virtual-monitor 1440x900
wait_until 40 bus_has_name org.gnome.Shell || fail "GNOME Shell did not come up"
wait_until 20 grep -q 'Using public X11 display' "$desk/gnome-shell.log" \
    || fail "GNOME Shell started no XWayland"
display=$(sed -nE 's/.*Using public X11 display (:[0-9]+).*/\1/p' "$desk/gnome-shell.log" | head -n 1)
auth=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)
export WAYLAND_DISPLAY=wayland-0 DISPLAY=$display XAUTHORITY=$auth
wait_until 20 xwininfo -root >/dev/null 2>&1 || fail "XWayland $DISPLAY does not answer"
shell_version=$(gnome-shell --version | awk '{print $3}')
ok "GNOME Shell $shell_version runs headless, XWayland on $DISPLAY"

# The custom shortcuts of the README are run by gnome-settings-daemon's media-keys plugin, which
# asks the shell to grab their keys.
start gsd-media-keys /usr/libexec/gsd-media-keys
wait_until 20 bus_has_name org.gnome.SettingsDaemon.MediaKeys || fail "gsd-media-keys did not start"

# GNOME 43 opens the Activities overview at login, and the overview keeps the keyboard: leave it
# first, as a user would, so the drawer opens on the desktop.
overview() {
    gdbus call --session --timeout 5 -d org.gnome.Shell -o /org/gnome/Shell -m org.freedesktop.DBus.Properties.$1 \
        org.gnome.Shell OverviewActive ${2:+"$2"} 2>/dev/null
}
overview_closed() {
    overview Set '<false>' >/dev/null
    sleep 0.5
    overview Get | grep -q false
}
wait_until 15 eval 'overview Get | grep -q true' # the overview shows once the shell has started
wait_until 15 overview_closed || fail "the Activities overview does not close"
sleep 3 # the overview's closing animation and its focus change
overview Get | grep -q false || fail "the Activities overview opened again"

# The bus drops messages for a monitor that lags behind (as one does during the shell's start
# on a busy machine): watch only the notification calls and replies, from now on.
start bus-monitor stdbuf -oL dbus-monitor --session "interface='org.freedesktop.Notifications'" \
    "type='method_return'" "type='error'"
sleep 0.5
start jotshelf "$binary"
wait_until 20 jot_said "❌ No system tray found" || fail "no no-tray line; Jotshelf printed: $(jot_log)"
ok "Jotshelf printed its no-tray line (stock GNOME shows no tray)"
wait_until 10 drawer_mapped || fail "the drawer did not open at start"
ok "the drawer opened at start"

# GNOME 43 has no GlobalShortcuts portal: the key cannot be registered, and Jotshelf tells the
# user through the notification server, which GNOME Shell itself provides.
wait_until 20 jot_said "❌ Failed to register global hotkey" || fail "no hot-key line: $(jot_log)"
notice_answer() {
    awk '
        /^[a-z]/ { call = "" }
        /^method call .*member=Notify/ {
            match($0, / sender=[^ ]+/); sender = substr($0, RSTART + 8, RLENGTH - 8)
            match($0, / serial=[0-9]+/); serial = substr($0, RSTART + 8, RLENGTH - 8)
            call = sender " " serial; next
        }
        call != "" && index($0, "string \"Alt+` is not available\"") { wanted[call] = 1 }
        /^(method return|error) / {
            match($0, / destination=[^ ]+/); to = substr($0, RSTART + 13, RLENGTH - 13)
            match($0, / reply_serial=[0-9]+/); serial = substr($0, RSTART + 14, RLENGTH - 14)
            match($0, / sender=[^ ]+/); from = substr($0, RSTART + 8, RLENGTH - 8)
            if ((to " " serial) in wanted) {
                if ($1 == "error") { match($0, / error_name=[^ ]+/); print "error " substr($0, RSTART + 12, RLENGTH - 12) }
                else print "accepted " from
                exit
            }
        }' "$desk/bus-monitor.log"
}
wait_until 45 grep -q . <(notice_answer) || fail "no answer to the notice seen on the bus"
answer=$(notice_answer)
[[ $answer == accepted* ]] || fail "the notification server refused the notice: $answer"
server_pid=$(gdbus call --session --timeout 5 -d org.freedesktop.DBus -o /org/freedesktop/DBus \
    -m org.freedesktop.DBus.GetConnectionUnixProcessID "${answer#accepted }" | sed -E 's/.* ([0-9]+),.*/\1/')
[[ $(cat "/proc/$server_pid/comm") == gnome-shell ]] \
    || fail "the notice was answered by $(cat "/proc/$server_pid/comm"), not gnome-shell"
ok "the notice \"Alt+\` is not available\" was accepted by org.freedesktop.Notifications (gnome-shell)"

# Mutter counts an X window as focused when _NET_ACTIVE_WINDOW names it; only then does the
# keyboard go to XWayland.
active_window() { xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | sed -n 's/.*# //p'; }
type_into_drawer() {
    local when=$1 text=$2
    "$desk_here/desk.py" mutter-type "$text" || fail "RemoteDesktop refused the keys"
    if wait_until 10 note_has "$text"; then
        ok "typing through org.gnome.Mutter.RemoteDesktop into the drawer $when landed in note.conf"
    else
        not_ok "typing into the drawer $when did not reach the note (mutter's active window: $(active_window), the drawer: $(xwininfo -name Notepad | sed -n 's/.*Window id: \([^ ]*\).*/\1/p'))"
    fi
}
sleep 0.5 # the slide-in
type_into_drawer "opened at start" "typed at start"

# The README's recipe for a key of one's own, run as it stands there.
recipe=$(awk '/^\*\*GNOME\*\*/ { g = 1 } g && /^```sh/ { on = 1; next } on && /^```/ { exit } on' \
    "$desk_here/../../README.md")
grep -q "command 'jotshelf --toggle'" <<<"$recipe" || fail "no GNOME recipe found in README.md"
# One line after another, as a person runs them: gsd-media-keys grabs the key for good or never,
# and on a busy machine the shell may not yet have let go of Alt+` when all lines come at once.
(
    while IFS= read -r line; do
        eval "$line" || exit 1
        [[ $line == gsettings* ]] && sleep 1
    done <<<"$recipe"
) || fail "the README's gsettings recipe failed"
grab_failed() { grep -q 'Failed to grab accelerator for keybinding custom' "$desk/gsd-media-keys.log"; }

# gsd-media-keys grabs the new key a moment after the setting changes: press until the drawer
# answers (a press before the grab does nothing, so no press is counted twice).
press_and_see() {
    local want=$1 count
    count=$(jot_count "$want")
    "$desk_here/desk.py" mutter-keys alt+grave || return 1
    wait_until 3 test "$(jot_count "$want")" -gt "$count"
}
wait_until 20 press_and_see "🔄 Animating OUT" || {
    grab_failed && fail "gsd-media-keys could not grab <Alt>grave for the README's shortcut"
    fail "Alt+\` through RemoteDesktop did not hide the drawer"
}
wait_until 5 drawer_unmapped || fail "the drawer stayed on screen after the shortcut"
ok "the README's custom shortcut (<Alt>grave, jotshelf --toggle) hid the drawer"
sleep 0.5
press_and_see "🔄 Animating IN" || fail "the second Alt+\` did not show the drawer"
wait_until 5 drawer_mapped || fail "the drawer did not come back"
ok "pressed again, it showed the drawer"
sleep 1.5 # the slide-in, and the shortcut's keys let go
type_into_drawer "shown by the shortcut" "typed after the shortcut"

if shots_wanted; then
    sleep 0.5
    "$desk_here/desk.py" mutter-keys ctrl+a || fail "RemoteDesktop refused the keys"
    "$desk_here/desk.py" mutter-type "On GNOME Shell $shell_version
- milk
bread
eggs" || fail "RemoteDesktop refused the keys"
    sleep 1.5
    "$desk_here/desk.py" shell-screenshot "$desk/shot.png" >/dev/null \
        || fail "GNOME Shell took no screenshot"
    cp "$desk/shot.png" "$JOTSHELF_DESK_SHOTS/desktop-gnome.png"
    ok "screenshot in $JOTSHELF_DESK_SHOTS/desktop-gnome.png"
fi
finish "GNOME Shell: no-tray start, notice, typing and the README's shortcut work"
