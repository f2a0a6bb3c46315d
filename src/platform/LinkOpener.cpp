// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/LinkOpener.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

LinkOpener::LinkOpener(QObject *parent)
    : LinkOpener(QDBusConnection::sessionBus(), parent)
{ }

LinkOpener::LinkOpener(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{ }

bool LinkOpener::runs(const QFileInfo &file)
{
    if (!file.exists() || file.isDir())
        return false; // a folder opens in the file manager; nothing there runs by itself
    if (file.isExecutable())
        return true;
    static const QStringList launcherSuffixes {
        QStringLiteral("desktop"), QStringLiteral("sh"),       QStringLiteral("bash"),
        QStringLiteral("zsh"),     QStringLiteral("csh"),      QStringLiteral("ksh"),
        QStringLiteral("fish"),    QStringLiteral("command"),  QStringLiteral("run"),
        QStringLiteral("bin"),     QStringLiteral("appimage"), QStringLiteral("flatpakref"),
        QStringLiteral("jar"),     QStringLiteral("py"),       QStringLiteral("pl"),
        QStringLiteral("rb"),      QStringLiteral("exe"),      QStringLiteral("msi"),
        QStringLiteral("bat"),     QStringLiteral("cmd"),      QStringLiteral("com"),
        QStringLiteral("deb"),     QStringLiteral("rpm"),      QStringLiteral("snap"),
    };
    if (launcherSuffixes.contains(file.suffix().toLower()))
        return true;
    // By content too: a launcher or a program under an innocent name.
    static const QStringList programTypes {
        QStringLiteral("application/x-executable"),
        QStringLiteral("application/x-sharedlib"),
        QStringLiteral("application/x-desktop"),
        QStringLiteral("application/x-shellscript"),
        QStringLiteral("application/x-ms-dos-executable"),
        QStringLiteral("application/vnd.appimage"),
        QStringLiteral("application/x-java-archive"),
    };
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    return std::any_of(programTypes.begin(), programTypes.end(),
                       [&type](const QString &name) { return type.inherits(name); });
}

QUrl LinkOpener::openable(const QUrl &url)
{
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) != 0)
        return url;
    QUrl address;
    address.setScheme(QStringLiteral("mailto"));
    address.setPath(url.path());
    return address;
}

void LinkOpener::open(const QUrl &url)
{
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        if (runs(QFileInfo(path))) {
            showInFileManager(url, path);
            return;
        }
    }
    const QUrl target = openable(url);
    if (!QDesktopServices::openUrl(target))
        Q_EMIT refused(url,
                       QStringLiteral("Could not open %1: no program to open it was found")
                           .arg(target.toDisplayString()));
}

void LinkOpener::showInFileManager(const QUrl &url, const QString &path)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList {url.toString(QUrl::FullyEncoded)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, url, path](QDBusPendingCallWatcher *done) {
                done->deleteLater();
                const QDBusPendingReply<> reply = *done;
                if (!reply.isError())
                    return;
                Q_EMIT refused(url,
                               QStringLiteral("Did not open %1: it is a program or a launcher, "
                                              "which a link must not run, and no file manager "
                                              "could show it (%2)")
                                   .arg(path, reply.error().message()));
            });
}
