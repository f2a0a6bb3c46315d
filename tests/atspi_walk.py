#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads Jotshelf's windows as a screen reader does, over AT-SPI: the tree of the running
# application, each tab of the settings window after pressing its tab button, and where the
# focus goes with each press of Tab. Prints one line per finding for tst_AtSpiTree:
#   node <path> | <role> | <name> | <description> | <value or -> | <selected or ->
#   focus <role> | <name>
# Last it switches "Auto-format dashes" off by its toggle action. The settings window must be
# open and hold the keyboard. Argument: the most Tab presses.
import subprocess
import sys
import time

import pyatspi

APP_NAME = 'Jotshelf'


def application():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == APP_NAME:
                return app
        time.sleep(0.1)
    sys.exit('no accessible application named %s on the bus' % APP_NAME)


def value_of(node):
    try:
        return '%g' % node.queryValue().currentValue
    except NotImplementedError:
        return '-'


def selected(node):
    states = node.getState()
    if not states.contains(pyatspi.STATE_SELECTABLE):
        return '-'
    return 'selected' if states.contains(pyatspi.STATE_SELECTED) else 'unselected'


def role_of(node):
    # The role's name as AT-SPI before 2.50 gave it: 2.50 and later (Debian 13) call a push
    # button "button".
    name = node.getRoleName()
    return 'push button' if name == 'button' else name


def walk(node, path, out):
    out.append((path, node))
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, '%s/%d' % (path, index), out)


def dump(app, label):
    nodes = []
    walk(app, label, nodes)
    for path, node in nodes:
        print('node %s | %s | %s | %s | %s | %s' % (path, role_of(node), node.name,
                                                   node.description, value_of(node),
                                                   selected(node)))
    return nodes


def focused(app):
    nodes = []
    walk(app, '', nodes)
    # The focused control is the deepest node that says so.
    found = [node for _, node in nodes if node.getState().contains(pyatspi.STATE_FOCUSED)]
    return found[-1] if found else None


def press(nodes, name):
    for _, node in nodes:
        if role_of(node) in ('push button', 'page tab') and node.name == name:
            node.queryAction().doAction(0)
            return
    sys.exit('no button %s' % name)


def tab_cycle(app, presses):
    """Presses Tab until the focus comes back to the first control it reached."""
    first = None
    last = focused(app)
    for _ in range(presses):
        subprocess.run(['xdotool', 'key', 'Tab'], check=True)
        now = last
        for _ in range(50):
            now = focused(app)
            if now is not None and now != last:
                break
            time.sleep(0.05)
        if now is None or now == last:
            print('focus stuck')
            return
        if now == first:
            return
        first = first or now
        last = now
        print('focus %s | %s' % (role_of(now), now.name))


def toggle(app, name):
    """Switches a check box by its toggle action, as switch access and voice control do."""
    nodes = []
    walk(app, '', nodes)
    for _, node in nodes:
        if role_of(node) == 'check box' and node.name == name:
            node.queryAction().doAction(0)
            return
    sys.exit('no check box %s' % name)


def main():
    app = application()
    nodes = dump(app, 'Appearance')
    press(nodes, 'Behavior')
    time.sleep(0.3)
    nodes = dump(app, 'Behavior')
    tab_cycle(app, int(sys.argv[1]))
    toggle(app, 'Auto-format dashes (- → - )')


main()
