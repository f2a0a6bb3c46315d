#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Jotshelf on plain X11 (Xvfb) under xfwm4, Xfce's window manager, with its focus-stealing
# prevention on; keys and clicks from xdotool (XTest), which on X11 is the user's own input path.
# (openbox is covered by the suite's tst_DrawerWindow: focus, two screens, the slides.)
# Proves: Alt+` shows the drawer while another program (xmessage) holds the focus, and what is
# typed then lands in the note on disk; a click into the drawer takes the keyboard back from the
# other program; `jotshelf --toggle` launched with a startup id (as a desktop's shortcut does)
# shows the drawer with the keyboard, the drawer carries that id as _NET_STARTUP_ID, and a
# startup-notification message ends the launch's feedback; the settings window is offered neither
# minimising, maximising nor resizing. Under IceWM, which keeps Alt+` for itself out of the box,
# Jotshelf says that another program holds the key, and jotshelf --show still shows the drawer.
#   tests/desktops/x11.sh build/jotshelf
source "$(dirname "$0")/common.bash"
desk_binary "$@"
need Xvfb xfwm4 icewm xfconf-query xdotool xwininfo xprop xev xmessage dbus-daemon gdbus

make_desk
start xvfb Xvfb -displayfd 1 -screen 0 1440x900x24 -noreset -nolisten tcp
wait_until 20 grep -q '^[0-9]' "$desk/xvfb.log" || fail "Xvfb did not start"
export DISPLAY=:$(grep -m 1 '^[0-9]' "$desk/xvfb.log")
export XDG_SESSION_TYPE=x11
start_session_bus
ok "Xvfb $DISPLAY"

drawer_window() { xdotool search --name '^Notepad$' 2>/dev/null | head -n 1; }
focused() { xdotool getwindowfocus 2>/dev/null; }
drawer_focused() { [[ -n $(drawer_window) && $(focused) == "$(drawer_window)" ]]; }
other_focused() { [[ -n $other && $(focused) == "$other" ]]; }

run_under() {
    local wm=$1 note_text
    shift
    start "$wm" "$@"
    local wm_pid=${desk_pids[-1]}
    wait_until 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
        || fail "$wm did not start"
    rm -rf "$XDG_CONFIG_HOME/Jotshelf"
    start jotshelf "$binary"
    local jotshelf_pid=${desk_pids[-1]}
    wait_until 20 jot_said "✅ Global hotkey" || fail "$wm: Alt+\` was not registered: $(jot_log)"
    # No tray runs: the drawer opened at the start. Alt+` hides it.
    wait_until 10 drawer_mapped || fail "$wm: the drawer did not open at start"
    sleep 0.5
    xdotool key alt+grave
    wait_until 10 drawer_unmapped || fail "$wm: Alt+\` did not hide the drawer"

    start xmessage xmessage -geometry 300x100+20+20 -name other other
    local other_pid=${desk_pids[-1]}
    other=""
    wait_until 10 eval 'other=$(xdotool search --name "^other$" | head -n 1); [[ -n $other ]]' \
        || fail "$wm: xmessage did not appear"
    xdotool mousemove 170 70 click 1
    wait_until 10 other_focused || fail "$wm: a click did not give xmessage the focus (focused: $(focused), xmessage: $other)"
    xdotool key alt+grave
    wait_until 10 drawer_mapped || fail "$wm: Alt+\` did not show the drawer"
    if wait_until 10 drawer_focused; then
        xdotool type --delay 30 "hot key"
        if wait_until 10 note_has "hot key"; then
            ok "$wm: Alt+\` showed the drawer over xmessage and typing reached the note"
        else
            not_ok "$wm: typing into the drawer shown by Alt+\` did not reach the note"
        fi
    else
        not_ok "$wm: the drawer shown by Alt+\` did not get the focus (xmessage kept it)"
    fi

    sleep 0.5 # the slide-in
    xdotool mousemove 170 70 click 1
    wait_until 10 other_focused || fail "$wm: a click did not give xmessage the focus back"
    xdotool mousemove 1240 450 click 1
    if wait_until 10 drawer_focused; then
        xdotool type --delay 30 " clicked"
        if wait_until 10 note_has "hot key clicked"; then
            ok "$wm: a click into the drawer took the keyboard from xmessage"
        else
            not_ok "$wm: typing after a click into the drawer did not reach the note"
        fi
    else
        not_ok "$wm: a click into the drawer did not give it the focus"
    fi

    # A launch from a desktop's shortcut, with another program in front: its startup id goes to
    # the window it shows, and the window gets the keyboard.
    local id="x11-rig-$wm-$$_TIME0"
    "$binary" --toggle >>"$desk/client.log" 2>&1 || fail "$wm: jotshelf --toggle failed"
    wait_until 10 drawer_unmapped || fail "$wm: jotshelf --toggle did not hide the drawer"
    xdotool mousemove 170 70 click 1
    wait_until 10 other_focused || fail "$wm: a click did not give xmessage the focus back"
    # The startup-notification messages go to the root window, for those who watch it.
    start root-events xev -root -event property
    local xev_pid=${desk_pids[-1]}
    sleep 0.5
    DESKTOP_STARTUP_ID=$id "$binary" --toggle >>"$desk/client.log" 2>&1 \
        || fail "$wm: jotshelf --toggle failed"
    wait_until 10 drawer_mapped || fail "$wm: jotshelf --toggle did not show the drawer"
    if wait_until 10 grep -q '(_NET_STARTUP_INFO_BEGIN)' "$desk/root-events.log"; then
        ok "$wm: the launch's feedback was ended (a startup-notification message on the root window)"
    else
        not_ok "$wm: no startup-notification message ended the launch's feedback"
    fi
    kill -TERM -- "-$xev_pid" 2>/dev/null
    if xprop -id "$(drawer_window)" _NET_STARTUP_ID | grep -qF "\"$id\""; then
        ok "$wm: the drawer shown by jotshelf --toggle carries its launch's startup id"
    else
        not_ok "$wm: the drawer carries $(xprop -id "$(drawer_window)" _NET_STARTUP_ID), not $id"
    fi
    if wait_until 10 drawer_focused; then
        xdotool type --delay 30 " launched"
        if wait_until 10 note_has "hot key clicked launched"; then
            ok "$wm: the drawer shown by jotshelf --toggle took the keyboard from xmessage"
        else
            not_ok "$wm: typing into the drawer shown by jotshelf --toggle did not reach the note"
        fi
    else
        not_ok "$wm: the drawer shown by jotshelf --toggle did not get the focus (xmessage kept it)"
    fi

    # The settings window keeps its size and asks for a close button alone.
    "$binary" --settings >>"$desk/client.log" 2>&1 || fail "$wm: jotshelf --settings failed"
    local settings actions
    wait_until 10 eval 'settings=$(xdotool search --onlyvisible --name "^Jotshelf Settings$" | head -n 1); [[ -n $settings ]]' \
        || fail "$wm: jotshelf --settings showed no settings window"
    wait_until 10 eval 'actions=$(xprop -id "$settings" _NET_WM_ALLOWED_ACTIONS); [[ $actions == *CLOSE* ]]' \
        || fail "$wm: the settings window has no allowed actions: $actions"
    if [[ $actions != *MINIMIZE* && $actions != *MAXIMIZE* && $actions != *RESIZE* ]]; then
        ok "$wm: the settings window offers neither minimising, maximising nor resizing"
    else
        not_ok "$wm: the settings window offers $actions"
    fi

    kill -TERM -- "-$jotshelf_pid" "-$other_pid" 2>/dev/null
    wait_until 10 eval '! kill -0 -- "-$jotshelf_pid" 2>/dev/null' || fail "Jotshelf did not quit"
    mv "$desk/jotshelf.log" "$desk/jotshelf-$wm.log"
    kill -TERM -- "-$wm_pid" 2>/dev/null
    wait_until 10 eval '! xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || true
}

# Focus-stealing prevention on, as a user may set it (Window Manager Tweaks → Focus): a window
# that comes up without a user's action must not take the focus, the drawer must.
mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfwm4.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfwm4" version="1.0">
  <property name="general" type="empty">
    <property name="prevent_focus_stealing" type="bool" value="true"/>
  </property>
</channel>
XML
[[ $(xfconf-query -c xfwm4 -p /general/prevent_focus_stealing) == true ]] \
    || fail "xfconfd does not read xfwm4's settings"
# Without a compositor, which would need a GPU here.
run_under xfwm4 xfwm4 --compositor=off

# IceWM grabs Alt+` itself in its default configuration: the grab fails, Jotshelf names the
# reason, and the command line still reaches the drawer.
start icewm icewm
icewm_pid=${desk_pids[-1]}
wait_until 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "icewm did not start"
rm -rf "$XDG_CONFIG_HOME/Jotshelf"
start jotshelf "$binary"
if ! wait_until 20 jot_said "global hotkey"; then
    not_ok "icewm: Jotshelf printed no hot-key line: $(jot_log)"
elif jot_said "❌ Failed to register global hotkey" \
    && jot_said "Another program on this X display holds Alt+\` already."; then
    ok "icewm: Jotshelf says that another program holds Alt+\` ($(icewm --version 2>&1 | head -n 1 | sed "s/,.*//"))"
else
    not_ok "icewm: Jotshelf did not say that Alt+\` is taken: $(jot_log)"
fi
"$binary" --hide >>"$desk/client.log" 2>&1 || fail "icewm: jotshelf --hide failed"
wait_until 10 drawer_unmapped || fail "icewm: jotshelf --hide did not hide the drawer"
"$binary" --show >>"$desk/client.log" 2>&1 || fail "icewm: jotshelf --show failed"
if wait_until 10 drawer_mapped; then
    ok "icewm: jotshelf --show shows the drawer"
else
    not_ok "icewm: jotshelf --show did not show the drawer"
fi
"$binary" --quit >>"$desk/client.log" 2>&1
kill -TERM -- "-$icewm_pid" 2>/dev/null
finish "x11: under xfwm4 with focus-stealing prevention, Alt+\`, a click and jotshelf --toggle give the drawer the keyboard over another program; the launch's startup id reaches it; the settings window offers close only; under IceWM, which keeps Alt+\`, Jotshelf says so and jotshelf --show works"
