// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/X11WindowShape.h"

#include "platform/QtXcb.h"

#include <QGuiApplication>
#include <QList>
#include <QWidget>

#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

xcb_atom_t frameExtentsAtom(xcb_connection_t *connection)
{
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (atom == XCB_ATOM_NONE) {
        atom = QtXcb::internAtom(connection, "_GTK_FRAME_EXTENTS");
    }
    return atom;
}

xcb_atom_t noShadowAtom(xcb_connection_t *connection)
{
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (atom == XCB_ATOM_NONE)
        atom = QtXcb::internAtom(connection, "_COMPTON_SHADOW");
    return atom;
}
} // namespace

namespace X11WindowShape {

void setInputRegion(QWidget *window, const QRegion &region)
{
    xcb_connection_t *connection = QtXcb::connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(window->winId());
    QList<xcb_rectangle_t> rectangles;
    for (const QRect &rect : region)
        rectangles.append({std::int16_t(rect.x()), std::int16_t(rect.y()),
                           std::uint16_t(rect.width()), std::uint16_t(rect.height())});
    const xcb_xfixes_region_t shape = xcb_generate_id(connection);
    xcb_xfixes_create_region(connection, shape, std::uint32_t(rectangles.size()),
                             rectangles.constData());
    xcb_xfixes_set_window_shape_region(connection, id, XCB_SHAPE_SK_INPUT, 0, 0, shape);
    xcb_xfixes_destroy_region(connection, shape);
}

void clearInputRegion(QWidget *window)
{
    if (xcb_connection_t *connection = QtXcb::connection())
        xcb_xfixes_set_window_shape_region(connection, xcb_window_t(window->winId()),
                                           XCB_SHAPE_SK_INPUT, 0, 0, XCB_XFIXES_REGION_NONE);
}

void setFrameExtents(QWidget *window, const QMargins &extents)
{
    xcb_connection_t *connection = QtXcb::connection();
    if (!connection)
        return;
    const xcb_atom_t atom = frameExtentsAtom(connection);
    if (atom == XCB_ATOM_NONE)
        return;
    const auto id = xcb_window_t(window->winId());
    // picom shadows a window unless its rules leave it out (its sample configuration leaves out
    // windows that declare frame extents). _COMPTON_SHADOW 0 leaves it out whatever the rules say,
    // though picom reads it on the top-level window only: the client under window managers that
    // do not reparent (bspwm, dwm), the window manager's frame under those that do.
    const xcb_atom_t noShadow = noShadowAtom(connection);
    if (extents.isNull()) {
        xcb_delete_property(connection, id, atom);
        if (noShadow != XCB_ATOM_NONE)
            xcb_delete_property(connection, id, noShadow);
        return;
    }
    if (noShadow != XCB_ATOM_NONE) {
        const std::uint32_t none = 0;
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, noShadow, XCB_ATOM_CARDINAL, 32,
                            1, &none);
    }
    // Left, right, top, bottom.
    const std::uint32_t values[] = {std::uint32_t(extents.left()), std::uint32_t(extents.right()),
                                    std::uint32_t(extents.top()), std::uint32_t(extents.bottom())};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom, XCB_ATOM_CARDINAL, 32, 4,
                        values);
}

} // namespace X11WindowShape
