// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/CompositingMonitor.h"

#include "platform/PlatformLog.h"
#include "platform/QtXcb.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace {
using QtXcb::Reply;

/// The screen Qt's connection opened, as DISPLAY names it.
int screenNumber()
{
    int screen = 0;
    char *host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        return 0;
    std::free(host);
    return screen;
}

/// Whether the xcompmgr of this display runs in a mode that shadows every window: -c (client-side
/// shadows) or -s (server-side), the last mode option winning over -n and -a. xcompmgr tells the
/// display nothing of its mode, so its command line is read: the xcompmgr process whose DISPLAY
/// is this one.
bool xcompmgrShadows()
{
    const QByteArray display = qgetenv("DISPLAY");
    const auto displayNumber = [](QByteArray name) {
        name = name.mid(name.indexOf(':') + 1);
        return name.left(name.indexOf('.') < 0 ? name.size() : name.indexOf('.'));
    };
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!entry.front().isDigit())
            continue;
        QFile comm(proc.filePath(entry + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "xcompmgr")
            continue;
        QFile cmdline(proc.filePath(entry + QStringLiteral("/cmdline")));
        QFile environ(proc.filePath(entry + QStringLiteral("/environ")));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        QByteArray target = environ.open(QIODevice::ReadOnly) ? QByteArray() : display;
        if (target.isNull()) {
            for (const QByteArray &variable : environ.readAll().split('\0'))
                if (variable.startsWith("DISPLAY="))
                    target = variable.mid(8);
        }
        bool shadows = false;
        for (qsizetype i = 1; i < args.size(); ++i) {
            const QByteArray &arg = args[i];
            if (!arg.startsWith('-'))
                continue;
            for (qsizetype c = 1; c < arg.size(); ++c) {
                const char option = arg[c];
                if (QByteArray("drotlIOD").contains(option)) {
                    const QByteArray value = c + 1 < arg.size() ? arg.mid(c + 1)
                        : i + 1 < args.size()                   ? args[++i]
                                                                : QByteArray();
                    if (option == 'd')
                        target = value;
                    break;
                }
                if (option == 'c' || option == 's')
                    shadows = true;
                else if (option == 'n' || option == 'a')
                    shadows = false;
            }
        }
        if (displayNumber(target) == displayNumber(display))
            return shadows;
    }
    return false;
}

xcb_window_t rootOf(xcb_connection_t *connection, int number)
{
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < number && screens.rem; ++i)
        xcb_screen_next(&screens);
    return screens.rem ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
}
} // namespace

CompositingMonitor::CompositingMonitor(QObject *parent)
    : QObject(parent)
{
    m_connection = QtXcb::connection();
    if (!m_connection)
        return;
    const int screen = screenNumber();
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    m_selection = QtXcb::internAtom(m_connection, name.constData());
    if (m_selection == XCB_ATOM_NONE)
        return;

    // Qt has set XFixes up on its connection (it follows this selection itself, without telling).
    const xcb_query_extension_reply_t *xfixes
        = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    const xcb_window_t root = rootOf(m_connection, screen);
    if (xfixes && xfixes->present && root != XCB_WINDOW_NONE) {
        m_selectionNotify = std::uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        xcb_xfixes_select_selection_input(
            m_connection, root, m_selection,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    const Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr));
    m_active = owner && owner->owner != XCB_WINDOW_NONE;
    if (m_active)
        readOwner(owner->owner);
    qCDebug(lcPlatform) << name << (m_active ? "has an owner" : "has no owner");
}

CompositingMonitor::~CompositingMonitor()
{
    if (m_selectionNotify && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CompositingMonitor::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_selectionNotify)
        return false;
    const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
    if (notify->selection != m_selection)
        return false;
    // A new owner, or none: the old one went away with its window or its connection.
    const bool active = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER
        && notify->owner != XCB_WINDOW_NONE;
    const bool shadows = m_shadowsEveryWindow;
    m_shadowsEveryWindow = false;
    if (active)
        readOwner(notify->owner);
    if (active == m_active && shadows != m_shadowsEveryWindow)
        Q_EMIT activeChanged(active);
    setActive(active);
    // Qt follows this selection too.
    return false;
}

// xcompmgr names the window that holds the selection after itself, and sets nothing else on it.
void CompositingMonitor::readOwner(std::uint32_t owner)
{
    m_shadowsEveryWindow = false;
    const Reply<xcb_get_property_reply_t> name(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, owner, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 0, 16),
        nullptr));
    const bool xcompmgr = name && name->format == 8
        && QByteArray(static_cast<const char *>(xcb_get_property_value(name.get())),
                      xcb_get_property_value_length(name.get()))
            == "xcompmgr";
    m_shadowsEveryWindow = xcompmgr && xcompmgrShadows();
    qCDebug(lcPlatform) << "compositing manager shadows every window:" << m_shadowsEveryWindow;
}

void CompositingMonitor::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    qCDebug(lcPlatform) << "compositing manager" << (active ? "started" : "stopped");
    Q_EMIT activeChanged(active);
}
