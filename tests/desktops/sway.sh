#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later
# sway (1.7 on Debian 12, 1.10 on Debian 13) on a headless wlroots backend with two outputs and
# XWayland, Jotshelf through XWayland, keys through wtype (the virtual-keyboard protocol: the
# compositor routes them to the focused window).
# Proves: typing lands in the note on disk, and sway keeps the drawer at the frame it slid to,
# on one output of two, shown at start and shown again by jotshelf --toggle; after a click on
# the other output's bare desktop (which XWayland never sees), jotshelf --toggle opens the drawer
# on the output sway calls focused.
#   tests/desktops/sway.sh build/jotshelf
source "$(dirname "$0")/common.bash"
desk_binary "$@"
need sway swaymsg wtype Xwayland dbus-daemon gdbus setpriv /usr/bin/python3

# sway refuses to run as root: the compositor, the bus and Jotshelf run as "nobody".
if ((EUID == 0)); then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
    as_user=()
fi
# XWayland under sway admits only the compositor's own user: ask it as that user.
xwininfo() { "${as_user[@]}" /usr/bin/xwininfo "$@"; }

make_desk
((EUID == 0)) && chown -R nobody:nogroup "$desk"
start_session_bus "${as_user[@]}"

# Two outputs side by side: the drawer slides in at an output's right edge, where on the first
# one the second begins.
screen_width=1440 screen_height=900
cat >"$desk/sway.conf" <<EOF
output HEADLESS-1 resolution ${screen_width}x${screen_height} position 0 0
output HEADLESS-2 resolution ${screen_width}x${screen_height} position ${screen_width} 0
seat seat0 cursor set 100 100
xwayland force
exec env > $desk/sway.env
EOF
start sway "${as_user[@]}" env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=2 \
    sway --config "$desk/sway.conf"
wait_until 30 grep -q '^DISPLAY=' "$desk/sway.env" 2>/dev/null || fail "sway did not start with XWayland"
export WAYLAND_DISPLAY=$(sed -n 's/^WAYLAND_DISPLAY=//p' "$desk/sway.env")
export DISPLAY=$(sed -n 's/^DISPLAY=//p' "$desk/sway.env")
export SWAYSOCK=$(sed -n 's/^SWAYSOCK=//p' "$desk/sway.env")
export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway
wait_until 20 xwininfo -root >/dev/null 2>&1 || fail "XWayland $DISPLAY does not answer"
sway_version=$(sway --version | awk '{print $3}')
outputs=$(swaymsg -t get_outputs | grep -c '"name": "HEADLESS-')
((outputs == 2)) || fail "sway made $outputs outputs, not 2"
ok "sway $sway_version runs headless with two outputs, XWayland on $DISPLAY"

start jotshelf "${as_user[@]}" "$binary"
# No bar runs, so there is no tray: the drawer opens at start.
wait_until 20 jot_said "❌ No system tray found" || fail "no no-tray line; Jotshelf printed: $(jot_log)"
wait_until 10 drawer_mapped || fail "the drawer did not open at start"
ok "Jotshelf started without a tray and opened its drawer"

# sway's view of the drawer: the window named "Notepad" in its tree, as "x y width height",
# less the shadow's margin the window declares (_GTK_FRAME_EXTENTS: left, right, top, bottom)
# where XWayland composites.
sway_rect() {
    local extents
    extents=$("${as_user[@]}" xprop -name Notepad _GTK_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ,)
    swaymsg -t get_tree | EXTENTS="${extents:-0 0 0 0}" /usr/bin/python3 -c '
import json, os, sys
def walk(node):
    if node.get("name") == "Notepad" and node.get("pid"):
        r = node["rect"]
        left, right, top, bottom = (int(v) for v in os.environ["EXTENTS"].split())
        print(r["x"] + left, r["y"] + top, r["width"] - left - right, r["height"] - top - bottom)
        sys.exit(0)
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))
sys.exit(1)'
}
# Jotshelf's frames count from Qt's primary screen: XWayland's primary output, else the first it
# lists, which under sway 1.10 is HEADLESS-2 on the right. sway's rects count from the layout's
# origin.
primary_x() {
    "${as_user[@]}" xrandr --listmonitors | awk '
        /^ *[0-9]+:/ { split($3, g, "+"); if (first == "") first = g[2]; if ($2 ~ /\*/) star = g[2] }
        END { print (star != "" ? star : first) }'
}
sway_frame() { final_rect $screen_height | awk -v X="$(primary_x)" '{ print $1 + X, $2, $3, $4 }'; }
sleep 1 # the slide-in
want=$(sway_frame)
[[ -n $want ]] || fail "Jotshelf printed no Final: frame"
if ! rect=$(sway_rect); then
    not_ok "sway does not manage the drawer: no window \"Notepad\" in swaymsg -t get_tree (an override-redirect window)"
elif [[ $rect != "$want" ]]; then
    not_ok "sway holds the drawer at $rect, not at its frame $want"
elif read -r x _ w _ <<<"$rect" && ((x / screen_width != (x + w - 1) / screen_width)); then
    not_ok "the drawer at $rect reaches across two outputs (the second from x $screen_width)"
else
    ok "sway holds the drawer at its frame ($rect), on one of two outputs"
fi

text="typed through sway"
# A new virtual keyboard's first keys can be lost while XWayland takes up its keymap: wtype
# taps Shift and waits first.
"${as_user[@]}" wtype -k Shift_L -s 300 "$text" || fail "wtype could not type"
if wait_until 10 note_has "$text"; then
    ok "typing through wtype (virtual keyboard) landed in note.conf"
else
    not_ok "typing through wtype did not reach the note on disk"
fi

# Hidden and shown again: sway maps the window anew and centres it again.
"${as_user[@]}" "$binary" --toggle >>"$desk/client.log" 2>&1 || fail "jotshelf --toggle failed"
wait_until 10 drawer_unmapped || fail "jotshelf --toggle did not hide the drawer"
"${as_user[@]}" "$binary" --toggle >>"$desk/client.log" 2>&1 || fail "jotshelf --toggle failed"
wait_until 10 drawer_mapped || fail "a second jotshelf --toggle did not show the drawer again"
sleep 1 # the slide-in
if ! wait_until 5 eval '[[ $(sway_rect) == "$(sway_frame)" ]]'; then
    not_ok "shown again by jotshelf --toggle, the drawer stands at $(sway_rect), not at $want"
else
    ok "hidden and shown again by jotshelf --toggle, the drawer is back at its frame"
fi
"${as_user[@]}" wtype -k Shift_L -s 300 " and again" || fail "wtype could not type"
if wait_until 10 note_has "$text and again"; then
    ok "typing into the drawer shown again landed in note.conf"
else
    not_ok "typing into the drawer shown again did not reach the note on disk"
fi

# A click on the other output's bare desktop: sway focuses that output, while XWayland still
# has the pointer where it last was over an X11 window, over the drawer.
sway_focused_x() {
    swaymsg -t get_outputs | /usr/bin/python3 -c '
import json, sys
print(next((o["rect"]["x"] for o in json.load(sys.stdin) if o.get("focused")), ""))'
}
read -r x y w h <<<"$want"
other_x=$(( x < screen_width ? screen_width : 0 ))
swaymsg -q seat seat0 cursor set $((x + w / 2)) $((y + h / 2))
sleep 0.5
"${as_user[@]}" "$binary" --toggle >>"$desk/client.log" 2>&1 || fail "jotshelf --toggle failed"
wait_until 10 drawer_unmapped || fail "jotshelf --toggle did not hide the drawer"
swaymsg -q seat seat0 cursor set $((other_x + screen_width / 2)) $((screen_height / 2))
swaymsg -q seat seat0 cursor press button1 && swaymsg -q seat seat0 cursor release button1
wait_until 5 eval '[[ $(sway_focused_x) == "$other_x" ]]' \
    || fail "a click on the output at x $other_x left sway's focus on the one at x $(sway_focused_x)"
"${as_user[@]}" "$binary" --toggle >>"$desk/client.log" 2>&1 || fail "jotshelf --toggle failed"
wait_until 10 drawer_mapped || fail "jotshelf --toggle did not show the drawer after the click"
sleep 1 # the slide-in
want=$(sway_frame)
if ! wait_until 5 eval '[[ $(sway_rect) == "$want" ]]'; then
    not_ok "after a click on the other output the drawer stands at $(sway_rect), not at its frame $want"
elif read -r x _ w _ <<<"$want" && ((x < other_x || x + w > other_x + screen_width)); then
    not_ok "after a click on the output at x $other_x (focused in sway) the drawer opened at $want, not on it"
else
    ok "after a click on the other output's bare desktop, jotshelf --toggle opens the drawer there ($want)"
fi

if shots_wanted; then
    # wtype reads a word starting with "-" as an option: the list's marker is the key "minus".
    "${as_user[@]}" wtype -k Shift_L -s 300 -k Return "On sway $sway_version" -k Return -k minus " milk" -k Return \
        "bread" -k Return "eggs"
    wait_until 10 note_has "eggs" || fail "the text for the screenshot did not reach the note"
    sleep 0.5
    "${as_user[@]}" grim "$desk/shot.png" \
        || fail "grim took no screenshot"
    cp "$desk/shot.png" "$JOTSHELF_DESK_SHOTS/desktop-sway.png"
    ok "screenshot in $JOTSHELF_DESK_SHOTS/desktop-sway.png"
fi
finish "sway: the drawer sits at its frame, shown at start and by jotshelf --toggle, on the output sway calls focused, and typing through wtype reaches the note"
