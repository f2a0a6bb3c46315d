// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>

class QLocalSocket;
class QTimer;

/**
 * Puts one of our X11 windows where we want it on sway.
 *
 * sway centres every floating X11 window when it maps it, and again whenever the window asks
 * for a new size, whatever position the window asks for or its size hints declare. It places a
 * window only on a command through its IPC socket ($SWAYSOCK), the way swaymsg sends one:
 * "[id=<X11 window>] move absolute position <x> <y>". The window is not yet in sway's tree
 * for a moment after it was mapped; the command is then tried again for a second.
 */
class SwayWindowPlacement : public QObject
{
    Q_OBJECT

public:
    /// Talks to the sway at \a socketPath.
    explicit SwayWindowPlacement(const QString &socketPath, QObject *parent = nullptr);
    ~SwayWindowPlacement() override;

    /// $SWAYSOCK when Jotshelf runs on X11 (XWayland) under sway, otherwise empty.
    static QString socketFromEnvironment();

    /// Asks sway to put \a window's top-left corner at \a position (X11 root coordinates).
    /// A request still waiting for sway's answer gives way to a newer one.
    void place(std::uint32_t window, QPoint position);

    /// One message as sway's IPC reads it: the magic, the payload's length, \a type, the payload.
    static QByteArray ipcMessage(std::uint32_t type, const QByteArray &payload);
    /// One command: a message of type 0 (RUN_COMMAND) carrying its text.
    static QByteArray commandMessage(const QByteArray &command);

Q_SIGNALS:
    /// sway carried the last request out.
    void placed();

private:
    void send();
    void readReply();
    void handleReply(const QByteArray &payload);

    QString m_socketPath;
    QLocalSocket *m_socket = nullptr;
    QTimer *m_retry = nullptr;
    QByteArray m_wanted; // the command for the latest request
    QByteArray m_inFlight;
    QByteArray m_buffer;
    int m_tries = 0;
};
