// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QUrl>

class QFileInfo;

/**
 * Hands a link of the note to the desktop's opener, never a program: the note's text also comes
 * from `jotshelf --append` (scripts, pasted web text), so a Ctrl+click must not run anything.
 * A `file:` target that is executable or a launcher (a .desktop file, a script, an AppImage...)
 * is shown in the file manager instead (org.freedesktop.FileManager1.ShowItems on the session
 * bus), or left alone with a reason; a `mailto:` link opens as the plain address, without the
 * query that could fill in a body or attach a file.
 */
class LinkOpener : public QObject
{
    Q_OBJECT

public:
    /// Works on the session bus.
    explicit LinkOpener(QObject *parent = nullptr);
    explicit LinkOpener(const QDBusConnection &bus, QObject *parent = nullptr);

    /// True for a file that opening would run: executable, or a launcher by its name or type.
    static bool runs(const QFileInfo &file);
    /// \a url as it may be opened: a `mailto:` link without its query and fragment.
    static QUrl openable(const QUrl &url);

    /// Opens \a url, or shows the file it names; refused() tells when neither happens.
    void open(const QUrl &url);

Q_SIGNALS:
    /// \a message says why \a url was not opened, and what was done instead.
    void refused(const QUrl &url, const QString &message);

private:
    void showInFileManager(const QUrl &url, const QString &path);

    QDBusConnection m_bus;
};
