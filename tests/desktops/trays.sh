#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Jotshelf's tray icon in two kinds of tray on X11 (Xvfb with openbox): an XEmbed tray (trayer),
# driven with the mouse, and a StatusNotifierItem tray (xfce4-panel's systray plugin), driven
# through the menu it exports over com.canonical.dbusmenu.
# Proves: the icon appears in each, the menu holds "Show Notepad", "Settings...",
# "Default Position" and "Quit", and "Show Notepad" shows the drawer.
#   tests/desktops/trays.sh build/jotshelf
source "$(dirname "$0")/common.bash"
desk_binary "$@"
need Xvfb openbox trayer xfce4-panel xdotool xwininfo dbus-daemon dbus-monitor gdbus /usr/bin/python3

make_desk
start xvfb Xvfb -displayfd 1 -screen 0 1440x900x24 -noreset -nolisten tcp
wait_until 20 grep -q '^[0-9]' "$desk/xvfb.log" || fail "Xvfb did not start"
export DISPLAY=:$(grep -m 1 '^[0-9]' "$desk/xvfb.log")
start openbox openbox
start_session_bus
start bus-monitor stdbuf -oL dbus-monitor --session
ok "Xvfb $DISPLAY with openbox"

jotshelf_up() {
    start jotshelf "$binary"
    wait_until 20 jot_said "Global hotkey" || fail "Jotshelf did not start: $(jot_log)"
    ! jot_said "❌ No system tray found" || fail "Jotshelf found no tray"
}
jotshelf_down() {
    local pid=${desk_pids[-1]}
    kill -TERM -- "-$pid"
    wait_until 10 eval '! kill -0 -- "-$pid" 2>/dev/null' || fail "Jotshelf did not quit on SIGTERM"
    mv "$desk/jotshelf.log" "$desk/jotshelf-$1.log"
}

# --- XEmbed: trayer docks the icon's own X window.
start trayer trayer --edge top --align right --widthtype pixel --width 120 --height 24
# grep reads the whole tree (-c, not -q): leaving early would end xwininfo with SIGPIPE, which
# pipefail counts as a failed check.
wait_until 10 eval 'xwininfo -root -tree | grep -c "\"panel\"" >/dev/null' || fail "trayer did not start"
jotshelf_up
# The icon: a window of Jotshelf's (class "Jotshelf") inside trayer's panel, "x y w h" on screen.
icon_geometry() {
    xwininfo -root -tree | awk '
        /"panel": \("panel" "trayer"\)/ { inside = 1; indent = match($0, /[^ ]/); next }
        inside && match($0, /[^ ]/) <= indent { inside = 0 }
        inside && /\("jotshelf" "Jotshelf"\)/ {
            match($0, /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ +\+-?[0-9]+\+-?[0-9]+/)
            split(substr($0, RSTART, RLENGTH), f, /[x+ ]+/)
            if (f[1] > 1 && f[2] > 1) { print f[5], f[6], f[1], f[2]; exit }
        }'
}
wait_until 10 eval '[[ -n $(icon_geometry) ]]' || fail "no icon of Jotshelf's docked in trayer"
read -r ix iy iw ih <<<"$(icon_geometry)"
ok "XEmbed: the icon is docked in trayer at $ix,$iy (${iw}x$ih)"

# A right click opens the menu: a window of Jotshelf's, bigger than the icon, other than the drawer.
menu_geometry() {
    local window
    for window in $(xwininfo -root -tree | awk '/\("jotshelf" "Jotshelf"\)/ && !/"Notepad"/ {
        match($0, / [0-9]+x[0-9]+[+]/); split(substr($0, RSTART + 1, RLENGTH - 2), f, "x")
        if (f[1] > 60 && f[2] > 60) print $1 }'); do
        xwininfo -id "$window" | awk '/Map State: IsViewable/ {v = 1}
            /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
            /Width:/ {w = $NF} /Height:/ {h = $NF} END {if (v) print x, y, w, h; exit !v}' && return 0
    done
    return 1
}
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 3
wait_until 5 menu_geometry >/dev/null || fail "a right click on the icon opened no menu"
read -r mx my mw mh <<<"$(menu_geometry)"
ok "XEmbed: a right click opened the menu (${mw}x$mh at $mx,$my)"
# "Show Notepad" is the first entry.
xdotool mousemove $((mx + mw / 2)) $((my + 12))
sleep 0.3
xdotool click 1
wait_until 5 drawer_mapped || fail "clicking \"Show Notepad\" did not show the drawer"
jot_said "🔄 Animating IN" || fail "the drawer showed without sliding in"
ok "XEmbed: clicking \"Show Notepad\" in the menu showed the drawer"
jotshelf_down xembed
kill -TERM -- "-${desk_pids[-2]}" # trayer

# --- StatusNotifierItem: xfce4-panel with one systray plugin; its settings live in xfconf.
mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="26"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
EOF
start xfce4-panel xfce4-panel
host_registered() {
    gdbus call --session --timeout 5 -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
        -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
        IsStatusNotifierHostRegistered 2>/dev/null | grep -q true
}
wait_until 30 host_registered || fail "xfce4-panel registered no StatusNotifierItem host"
jotshelf_up
wait_until 10 eval '[[ -n $("$desk_here/desk.py" sni-items) ]]' || fail "no StatusNotifierItem registered"
item=$("$desk_here/desk.py" sni-items | head -n 1)
# The panel shows the icon once it has read the item's properties.
watcher=$(gdbus call --session --timeout 5 -d org.freedesktop.DBus -o /org/freedesktop/DBus \
    -m org.freedesktop.DBus.GetNameOwner org.kde.StatusNotifierWatcher | sed -E "s/.*'(.*)'.*/\1/")
panel_read_item() {
    grep -E "^method call .* sender=$watcher .*member=(GetAll|Get)$" "$desk/bus-monitor.log" \
        -A 2 | grep -c 'string "org.kde.StatusNotifierItem"' >/dev/null
}
wait_until 10 panel_read_item || fail "xfce4-panel never read the item's properties"
ok "SNI: Jotshelf's item ($item) is registered and xfce4-panel read it"

menu=$("$desk_here/desk.py" sni-menu) || fail "the item's menu cannot be read"
top=$(grep -v '^ ' <<<"$menu" | grep . | paste -sd '|')
[[ $top == "Show Notepad|Settings...|Default Position|Quit" ]] \
    || fail "the tray menu reads \"$top\" (all of it: $(paste -sd '|' <<<"$menu"))"
sub=$(grep '^ ' <<<"$menu" | sed 's/^ *//' | paste -sd '|')
[[ $sub == "Top|Right|Bottom|Left" ]] || fail "\"Default Position\" holds \"$sub\""
ok "SNI: the menu over com.canonical.dbusmenu reads $top, Default Position: $sub"
"$desk_here/desk.py" sni-click "Show Notepad" || fail "the menu took no click"
wait_until 5 drawer_mapped || fail "\"Show Notepad\" through dbusmenu did not show the drawer"
ok "SNI: \"Show Notepad\" through dbusmenu showed the drawer"
jotshelf_down sni
echo "trays: the icon, its menu and \"Show Notepad\" work in trayer (XEmbed) and xfce4-panel (SNI)"
