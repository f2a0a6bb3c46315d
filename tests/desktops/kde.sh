#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Jotshelf on KDE Plasma 5.27 Wayland, in the real compositor: a private kwin_wayland (virtual
# output, XWayland), a private session bus with xdg-desktop-portal and xdg-desktop-portal-kde,
# kglobalaccel inside KWin, and keys and clicks sent THROUGH the compositor with KWin's fake-input
# protocol (tests/desktops/kwin_fake_input.c), never straight into XWayland.
#
#   tests/desktops/kde.sh build/jotshelf
#
# Checks, each printed as PASS or FAIL:
#   1. with KWin keeping Alt+` (its default, "Walk Through Windows of Current Application") the
#      app says the key is taken, and why, instead of claiming it;
#   2. after the user frees Alt+` and gives it to Jotshelf (done here through kglobalaccel's
#      D-Bus interface, as System Settings does), the next start registers it, and its shortcut
#      group in kglobalshortcutsrc is the same one (a stable session token);
#   3. Alt+` through the compositor hides and shows the drawer;
#   4. typed keys reach the note on disk;
#   5. a click on the drawer gives it the keyboard back from another window;
#   6. jotshelf --toggle launched with an activation token, as a shortcut does, while another
#      window has the keyboard, shows the drawer with the keyboard;
#   7. after a click on the second output's bare desktop (which XWayland never sees), jotshelf
#      --toggle opens the drawer on the output KWin calls active.
# Exit 0 when every check passes. Every process started here is stopped on the way out.
set -u

app=${1:-}
if [[ -z $app || ! -x $app ]]; then
    echo "usage: $0 path/to/jotshelf" >&2
    exit 2
fi
app=$(realpath "$app")
# JOTSHELF_DESK_SHOTS=docs, as for the other desktops, takes docs/desktop-kde.png.
if [[ -n ${JOTSHELF_DESK_SHOTS:-} && -z ${KDE_SCREENSHOT:-} ]]; then
    export KDE_SCREENSHOT=$(realpath "$JOTSHELF_DESK_SHOTS")/desktop-kde.png
fi
# The whole run is bounded: a hung compositor must not hang the suite.
if [[ -z ${KDE_RIG_BOUNDED:-} ]]; then
    KDE_RIG_BOUNDED=1 timeout -k 10 "${KDE_RIG_TIMEOUT:-170}" "$0" "$app"
    status=$?
    ((status == 124)) && echo "FAIL: timed out after ${KDE_RIG_TIMEOUT:-170} s"
    exit $status
fi
here=$(cd "$(dirname "$0")" && pwd)

# Plasma 5.27 (Debian 12) or 6 (Debian 13): KService's cache builder is named after its
# framework's major version, as is KDE_SESSION_VERSION.
kwin_version=$(kwin_wayland --version 2> /dev/null | awk '{print $2}')
plasma=${kwin_version%%.*}
sycoca=kbuildsycoca${plasma:-5}
missing=()
for tool in kwin_wayland dbus-daemon gdbus "$sycoca" xdotool xwininfo xmessage; do
    command -v "$tool" > /dev/null || missing+=("$tool")
done
[[ -x /usr/libexec/xdg-desktop-portal ]] || missing+=(xdg-desktop-portal)
portal_kde=
for path in /usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde /usr/libexec/xdg-desktop-portal-kde; do
    [[ -x $path ]] && portal_kde=$path
done
[[ -n $portal_kde ]] || missing+=(xdg-desktop-portal-kde)
if ((${#missing[@]})); then
    echo "FAIL: missing ${missing[*]} (install the packages in tests/desktops/kde.packages)"
    exit 1
fi
echo "KWin $kwin_version"

scratch=$(mktemp -d /tmp/jotshelf-kde.XXXXXX)
pids=()
failures=0
bus_pid=

stop_all() {
    local pid
    for pid in "${pids[@]}"; do
        kill -TERM "$pid" 2> /dev/null
    done
    sleep 0.5
    for pid in "${pids[@]}"; do
        kill -KILL "$pid" 2> /dev/null
        wait "$pid" 2> /dev/null
    done
    # The bus goes last: the portals it started end with it.
    if [[ -n $bus_pid ]]; then
        pkill -TERM -P "$bus_pid" 2> /dev/null
        kill -TERM "$bus_pid" 2> /dev/null
    fi
}

cleanup() {
    stop_all
    # The document portal, started by the bus, may still hold its FUSE folder in the runtime
    # folder: unmounted, the scratch folder can go.
    fusermount3 -u -z "$scratch/runtime/doc" 2> /dev/null || fusermount -u -z "$scratch/runtime/doc" 2> /dev/null
    if [[ ${KEEP_SCRATCH:-} == 1 ]]; then
        echo "scratch kept in $scratch"
    else
        rm -rf "$scratch"
    fi
}
trap cleanup EXIT
trap 'echo "FAIL: interrupted"; exit 1' INT TERM

pass() { echo "PASS: $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Waits up to $1 seconds for the command in the remaining arguments to succeed.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS >= deadline)) && return 1
        sleep 0.2
    done
}

mkdir -p "$scratch"/{home,config,data/applications,cache,runtime}
chmod 700 "$scratch/runtime"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export XDG_CACHE_HOME=$scratch/cache XDG_RUNTIME_DIR=$scratch/runtime
export XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland KDE_FULL_SESSION=true
export KDE_SESSION_VERSION=${plasma:-5} WAYLAND_DISPLAY=jotshelf-kde-$$ LC_ALL=C.UTF-8
unset DISPLAY QT_QPA_PLATFORM SESSION_MANAGER

# The fake-input client: built beside the app by CMake, or here.
fake_input=$(dirname "$app")/tests/desktops/kwin_fake_input
if [[ ! -x $fake_input ]]; then
    fake_input=$scratch/kwin_fake_input
    protocol=/usr/share/plasma-wayland-protocols/fake-input.xml
    wayland-scanner client-header "$protocol" "$scratch/fake-input-client-protocol.h" &&
        wayland-scanner private-code "$protocol" "$scratch/fake-input-protocol.c" &&
        cc -I"$scratch" "$here/kwin_fake_input.c" "$scratch/fake-input-protocol.c" \
            -lwayland-client -o "$fake_input" ||
        {
            echo "FAIL: cannot build kwin_fake_input"
            exit 1
        }
fi
# The app's own desktop file, as an install puts it, so that a portal checking the app id
# (Register, xdg-desktop-portal 1.19 on) finds io.github.jotshelf.Jotshelf.
sed "s|^Exec=jotshelf|Exec=$app|" "$here/../../resources/io.github.jotshelf.Jotshelf.desktop" \
    > "$XDG_DATA_HOME/applications/io.github.jotshelf.Jotshelf.desktop"
# KWin offers fake input only to a program whose desktop file asks for it, read from KService's
# cache.
cat > "$XDG_DATA_HOME/applications/jotshelf-kwin-fake-input.desktop" << EOF
[Desktop Entry]
Type=Application
Name=Jotshelf test input
Exec=$fake_input
NoDisplay=true
X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input
EOF
"$sycoca" > "$scratch/sycoca.log" 2>&1

# The portals are started by the bus, with the environment above.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3> "$scratch/bus" 4> "$scratch/bus.pid"
bus_pid=$(cat "$scratch/bus.pid")
DBUS_SESSION_BUS_ADDRESS=$(cat "$scratch/bus")
export DBUS_SESSION_BUS_ADDRESS

# The packaged binary carries cap_sys_resource, which a container may refuse: then a plain copy
# (KWin 5.27's runs; KWin 6 loads its platform plugin only into the installed binary).
kwin=$(command -v kwin_wayland)
if ! "$kwin" --version > /dev/null 2>&1; then
    cp "$kwin" "$scratch/kwin_wayland"
    kwin=$scratch/kwin_wayland
fi
cat > "$scratch/session.sh" << EOF
#!/bin/sh
echo "\$DISPLAY" > "$scratch/display"
exec sleep 600
EOF
chmod +x "$scratch/session.sh"
# A screenshot through org.kde.KWin.ScreenShot2 needs the permission check off.
[[ -n ${KDE_SCREENSHOT:-} ]] && export KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1
# KWin 6.3 reads the desktop file above (it names the interfaces it refuses the program) and yet
# never announces org_kde_kwin_fake_input to it: with the Wayland permission checks off it does,
# and the keys still go through KWin's own fake-input path.
((${plasma:-5} >= 6)) && export KWIN_WAYLAND_NO_PERMISSION_CHECKS=1
# Two outputs side by side, 1280 wide each.
"$kwin" --virtual --xwayland --socket "$WAYLAND_DISPLAY" --width 1280 \
    --height 800 --output-count 2 --no-lockscreen --exit-with-session "$scratch/session.sh" \
    > "$scratch/kwin.log" 2>&1 &
pids+=($!)
if ! wait_for 40 test -s "$scratch/display"; then
    echo "FAIL: kwin_wayland did not start; its log:"
    tail -20 "$scratch/kwin.log"
    exit 1
fi
DISPLAY=$(cat "$scratch/display")
export DISPLAY
echo "kwin_wayland on $WAYLAND_DISPLAY, XWayland on $DISPLAY"

kglobalaccel() {
    gdbus call --session --dest org.kde.kglobalaccel --object-path /kglobalaccel \
        --method "org.kde.KGlobalAccel.$1" "${@:2}"
}
alt_grave=$((0x08000000 | 0x60))
walk="'kwin','Walk Through Windows of Current Application','KWin','Walk Through Windows of Current Application'"
if ! wait_for 20 kglobalaccel action "$alt_grave" > /dev/null 2>&1; then
    echo "FAIL: kglobalaccel does not answer inside kwin_wayland"
    exit 1
fi
echo "Alt+\` is held by: $(kglobalaccel action "$alt_grave")"

press() { "$fake_input" "$@" || fail "kwin_fake_input $* (exit $?)"; }
note() { cat "$XDG_CONFIG_HOME/Jotshelf/note.conf" 2> /dev/null; }
drawer_visible() { xdotool search --onlyvisible --name '^Notepad$' > /dev/null 2>&1; }
shortcut_groups() {
    grep -l . "$XDG_CONFIG_HOME/kglobalshortcutsrc" > /dev/null 2>&1 || return 0
    awk '/^\[/{group=$0} /^toggle-drawer=/{print group}' "$XDG_CONFIG_HOME/kglobalshortcutsrc"
}

app_pid=
start_app() {
    : > "$scratch/app$1.log"
    stdbuf -oL "$app" > "$scratch/app$1.log" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wait_for 30 grep -qi "global hotkey" "$scratch/app$1.log"
}
quit_app() {
    "$app" --quit > /dev/null 2>&1
    wait_for 10 bash -c "! kill -0 $app_pid 2> /dev/null" || kill -TERM "$app_pid" 2> /dev/null
    wait "$app_pid" 2> /dev/null
}

# 1. KWin keeps Alt+` by default.
start_app 1 || fail "the first start printed no hot-key line"
if grep -qx "❌ Failed to register global hotkey. Status: -9868" "$scratch/app1.log" &&
    grep -qx "   Reason: Hotkey already exists" "$scratch/app1.log" &&
    grep -q "^   The desktop keeps Alt+\` for itself (KWin: " "$scratch/app1.log"; then
    pass "with KWin keeping Alt+\`, the key is reported taken, and by whom"
else
    fail "with KWin keeping Alt+\`, the key was not reported taken:"
    sed 's/^/    /' "$scratch/app1.log"
fi
quit_app
wait_for 5 test -n "$(shortcut_groups)"
groups_before=$(shortcut_groups)

# 2. The user frees Alt+` in KWin and gives it to Jotshelf, as System Settings does.
component=$(shortcut_groups | head -1 | tr -d '[]')
kglobalaccel setForeignShortcut "[$walk]" "@ai []" > /dev/null
kglobalaccel setForeignShortcut "['${component:-jotshelf}','toggle-drawer','','']" \
    "@ai [$alt_grave]" > /dev/null
# KWin alone draws no wallpaper: behind the black drawer, a window of a colour for the picture.
if [[ -n ${KDE_SCREENSHOT:-} ]]; then
    xmessage -geometry 1280x760+0+0 -bg '#31363b' -fg '#eff0f1' -buttons "" \
        "KDE Plasma $kwin_version: kwin_wayland, Jotshelf through XWayland" 2> /dev/null &
    pids+=($!)
    sleep 1
fi
start_app 2 || fail "the second start printed no hot-key line"
if grep -qx "✅ Global hotkey (Option+Backtick) registered successfully" "$scratch/app2.log"; then
    pass "once Alt+\` is Jotshelf's, the next start registers it"
else
    fail "the second start did not register Alt+\`:"
    sed 's/^/    /' "$scratch/app2.log"
fi
groups_after=$(shortcut_groups)
if [[ -n $groups_before && $groups_before == "$groups_after" && $(wc -l <<< "$groups_after") == 1 ]]; then
    pass "one shortcut group across starts: $groups_after"
else
    fail "shortcut groups before: '$groups_before', after: '$groups_after'"
fi

# 3. Alt+` through the compositor toggles the drawer. No tray runs here, so the drawer opened at
# the start: the first press hides it, the second shows it again.
drawer_hidden() { ! drawer_visible; }
triggered() { [[ $(grep -c "🎯 HOTKEY TRIGGERED!" "$scratch/app2.log") -ge $1 ]]; }
wait_for 15 drawer_visible || fail "the drawer did not open at the start without a tray"
sleep 1
press down:56 tap:41 up:56
if wait_for 10 triggered 1 && wait_for 10 drawer_hidden; then
    pass "Alt+\` hides the drawer"
else
    fail "Alt+\` through the compositor did not hide the drawer"
fi
press down:56 tap:41 up:56
if wait_for 10 triggered 2 && wait_for 10 drawer_visible; then
    pass "Alt+\` shows the drawer again"
    sleep 1
    if [[ -n ${KDE_SCREENSHOT:-} ]]; then
        # KWin 6's virtual backend offers no org.kde.KWin.ScreenShot2: then the drawer's own
        # window, as XWayland holds it.
        press "type:on kde plasma ${plasma:-5}" tap:28 tap:12 "type: milk" tap:28 type:bread tap:28 type:eggs &&
            sleep 1 && { "$here/desk.py" kwin-screenshot "$KDE_SCREENSHOT" > /dev/null 2>&1 ||
                import -window "$(xdotool search --onlyvisible --name '^Notepad$' | head -1)" \
                    "$KDE_SCREENSHOT"; } && echo "screenshot in $KDE_SCREENSHOT"
        press down:29 tap:30 up:29 tap:14 # Ctrl+A, BackSpace: the note is empty again
        sleep 1
    fi
    # 4. Typing reaches the note (saved 0.5 s after the last key).
    press "type:hello kde"
    if wait_for 10 bash -c "grep -q 'hello kde' '$XDG_CONFIG_HOME/Jotshelf/note.conf' 2> /dev/null"; then
        pass "typed keys reach the note on disk"
    else
        fail "typed keys did not reach the note; note file: '$(note)'"
    fi

    # 5. Another window takes the keyboard; a click on the drawer takes it back.
    xmessage -geometry +700+500 "another window" 2> /dev/null &
    pids+=($!)
    sleep 2
    drawer=$(xdotool search --onlyvisible --name '^Notepad$' | head -1)
    x=0 y=0 w=0 h=0
    # xwininfo without a window waits for a click on one.
    [[ -n $drawer ]] && read -r x y w h < <(xwininfo -id "$drawer" |
        awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
             /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}')
    if [[ -z $drawer ]]; then
        fail "the drawer left the screen when another window opened"
    elif press "move:$((x + w / 2)),$((y + h / 2))" click sleep:300 type:clicked &&
        wait_for 10 bash -c "grep -q 'clicked' '$XDG_CONFIG_HOME/Jotshelf/note.conf' 2> /dev/null"; then
        pass "a click gives the drawer the keyboard"
    else
        fail "after a click on the drawer ($x,$y ${w}x$h) typing did not reach the note: '$(note)'"
    fi

    # 6. A launch from a shortcut (with its activation token) while another window has the
    # keyboard: KWin's focus-stealing prevention lets the drawer it shows take the keyboard.
    other=$(xdotool search --name '^xmessage$' | head -1)
    ox=0 oy=0 ow=0 oh=0
    [[ -n $other ]] && read -r ox oy ow oh < <(xwininfo -id "$other" |
        awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
             /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}')
    "$app" --toggle > /dev/null 2>&1
    if [[ -z $other ]]; then
        fail "xmessage's window is gone"
    elif ! wait_for 10 drawer_hidden; then
        fail "jotshelf --toggle did not hide the drawer"
    else
        press "move:$((ox + ow / 2)),$((oy + oh / 2))" click sleep:300
        wait_for 10 bash -c "[[ \$(xdotool getactivewindow 2> /dev/null) == $other ]]" ||
            fail "a click on xmessage did not make it the active window"
        XDG_ACTIVATION_TOKEN=kde-rig-$$ "$app" --toggle > /dev/null 2>&1
        if wait_for 10 drawer_visible && sleep 1 && press type:launched &&
            wait_for 10 bash -c "grep -q 'clickedlaunched' '$XDG_CONFIG_HOME/Jotshelf/note.conf' 2> /dev/null"; then
            pass "jotshelf --toggle from a shortcut shows the drawer with the keyboard over another window"
        else
            fail "after jotshelf --toggle over another window typing did not reach the drawer: '$(note)'"
        fi
    fi
else
    fail "Alt+\` through the compositor did not show the drawer again:"
    sed 's/^/    /' "$scratch/app2.log"
fi

# 7. A click on the second output's bare desktop: KWin makes it its active output, while
# XWayland keeps the pointer where it last was over an X11 window, on the first.
if drawer_visible; then
    "$app" --toggle > /dev/null 2>&1
    wait_for 10 drawer_hidden || fail "jotshelf --toggle did not hide the drawer"
fi
kwin_active_output() {
    gdbus call --session --dest org.kde.KWin --object-path /KWin --method org.kde.KWin.activeOutputName 2> /dev/null
}
press "move:1920,400" click sleep:300
echo "KWin's active output after a click at 1920,400: $(kwin_active_output)"
"$app" --toggle > /dev/null 2>&1
dx=-1 dw=0
if wait_for 10 drawer_visible && sleep 1; then
    drawer=$(xdotool search --onlyvisible --name '^Notepad$' | head -1)
    read -r dx dw < <(xwininfo -id "$drawer" | awk '/Absolute upper-left X/{x=$NF} /Width/{w=$NF} END{print x, w}')
fi
# Its middle, as its shadow may reach past the output's edge.
if ((dx >= 0 && dx + dw / 2 >= 1280 && dx + dw / 2 < 2560)); then
    pass "after a click on the second output's bare desktop, jotshelf --toggle opens the drawer there (x $dx)"
else
    fail "after a click on the second output, the drawer opened at x $dx, not on it (x 1280 to 2560)"
fi
quit_app

if ((failures)); then
    echo "kde: $failures check(s) failed (KEEP_SCRATCH=1 keeps the logs)"
    exit 1
fi
echo "kde: all checks passed"
exit 0
