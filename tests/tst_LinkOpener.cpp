// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/LinkOpener.h"

#include "PrivateSessionBus.h"
#include "XvfbSession.h"

#include <QDBusConnection>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

// What a Ctrl+click hands on: the desktop's opener is a stand-in on PATH (xdg-open) that only
// writes down what it was given, and the file manager a stand-in on the test's own bus.

namespace {

PrivateSessionBus *sessionBus = nullptr;
QTemporaryDir *programs = nullptr;

QString openedLog()
{
    return programs->filePath(QStringLiteral("opened.log"));
}

class StandInFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &) { shown << uris; }
};

} // namespace

class tst_LinkOpener : public QObject
{
    Q_OBJECT

    QTemporaryDir m_files;

    QString makeFile(const QString &name, const QByteArray &bytes, bool executable = false)
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return path;
    }

    static QByteArray opened()
    {
        QFile log(openedLog());
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        DBUS_REQUIRE(*sessionBus);
        QFile::remove(openedLog());
    }

    // A link to a program or a launcher never runs it: the file manager shows the file, or
    // nothing happens and the user hears why.
    void programsAreShownNotRun_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("executable");
        QTest::newRow("executable script") << "notes.txt" << QByteArray("#!/bin/sh\n") << true;
        QTest::newRow("launcher") << "app.desktop"
                                  << QByteArray("[Desktop Entry]\nType=Application\nExec=xterm\n")
                                  << false;
        QTest::newRow("shell script") << "run.sh" << QByteArray("rm -rf ~\n") << false;
        QTest::newRow("AppImage") << "Tool.AppImage"
                                  << QByteArray("\x7f"
                                                "ELF")
                                  << false;
    }

    void programsAreShownNotRun()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, executable);
        const QString path = makeFile(name, bytes, executable);
        const QUrl url = QUrl::fromLocalFile(path);

        LinkOpener opener;
        QSignalSpy refused(&opener, &LinkOpener::refused);
        {
            StandInFileManager manager;
            QDBusConnection bus = sessionBus->connect(QStringLiteral("file-manager"));
            QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                       QDBusConnection::ExportAllSlots));
            QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
            opener.open(url);
            QTRY_COMPARE(manager.shown, QStringList {url.toString(QUrl::FullyEncoded)});
            QVERIFY(bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1")));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("file-manager"));

        // Without a file manager: nothing, and why.
        opener.open(url);
        QTRY_COMPARE(refused.size(), 1);
        QVERIFY2(refused.at(0).at(1).toString().contains(path),
                 qPrintable(refused.at(0).at(1).toString()));
        QCOMPARE(opened(), QByteArray());
    }

    // A plain file goes to the opener as it is; a mail link without its query, which could
    // fill in a body or attach a file.
    void documentsAndAddressesOpen()
    {
        const QString path = makeFile(QStringLiteral("list.txt"), "milk\n");
        LinkOpener opener;
        opener.open(QUrl::fromLocalFile(path));
        QTRY_VERIFY(opened().contains(QUrl::fromLocalFile(path).toEncoded()));
        QFile::remove(openedLog());
        opener.open(QUrl(QStringLiteral("mailto:ann@example.org?attach=/etc/passwd&body=hi")));
        QTRY_COMPARE(opened(), QByteArray("mailto:ann@example.org\n"));
    }
};

int main(int argc, char *argv[])
{
    PrivateSessionBus bus;
    sessionBus = &bus;
    bus.serveAsSessionBus();
    QTemporaryDir bin;
    programs = &bin;
    // The desktop's opener, as Qt finds it on PATH: it writes down what it is handed.
    QFile opener(bin.filePath(QStringLiteral("xdg-open")));
    if (opener.open(QIODevice::WriteOnly)) {
        opener.write(
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\n").arg(openedLog()).toUtf8());
        opener.close();
        opener.setPermissions(opener.permissions() | QFile::ExeOwner);
    }
    qputenv("PATH", bin.path().toUtf8() + ":/usr/bin:/bin");
    // Qt hands links to the desktop's opener on X11 (offscreen has none).
    XvfbSession xvfb;
    if (!xvfb.isRunning()) {
        std::printf("SKIP   : needs a private X server: %s\n", qPrintable(xvfb.errorString()));
        return 0;
    }
    qputenv("DISPLAY", xvfb.display().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", xvfb.runtimeDir().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    // No desktop of its own: Qt hands links to xdg-open.
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("KDE_FULL_SESSION");
    qunsetenv("GNOME_DESKTOP_SESSION_ID");
    QGuiApplication application(argc, argv);
    tst_LinkOpener test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_LinkOpener.moc"
