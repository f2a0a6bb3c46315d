// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestFiles.h"
#include "storage/IniWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

/// The real binary when its files cannot be written: what only main() and the way the
/// application ends decide.
class tst_SaveFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Under a file-size limit (ulimit -f) the first save past it raised SIGXFSZ, which ends a
    // process on the spot: no message, no rescue copy. Now it is a full disk: the user is told
    // why, and ending (SIGTERM) says once that the note's file could not be written and puts the
    // note in the private state folder.
    void aFileSizeLimitIsAFullDisk()
    {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("config/Jotshelf"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("tmp"))));
        QVERIFY(QDir().mkdir(home.filePath(QStringLiteral("run")),
                             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString notePath = folder + QStringLiteral("/note.conf");
        // Its file passes the limit of 1024 bytes, the rescue copy does not.
        const QString note = QString(1000, u'x') + QStringLiteral("👍 end");
        const QByteArray noteFile
            = IniWriter::generalSection({{QStringLiteral("noteContent"), note}});
        QVERIFY(noteFile.size() > 1024 && note.toUtf8().size() < 1024);
        {
            QFile file(notePath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(noteFile);
        }

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "XDG_SESSION_TYPE",
                                 "DBUS_SESSION_BUS_ADDRESS", "XDG_STATE_HOME"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
        environment.insert(QStringLiteral("TMPDIR"), home.filePath(QStringLiteral("tmp")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));

        QProcess app;
        app.setProcessEnvironment(environment);
        app.setChildProcessModifier([] {
            const rlimit limit = {1024, 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL); // as a shell leaves it, whatever this test does
        });
        app.start(QStringLiteral(JOTSHELF_BINARY), QStringList());
        QByteArray output;
        const QByteArray told = QStringLiteral("❌ Could not save to %1: the disk is full for "
                                               "Jotshelf: it reached its file-size limit, "
                                               "ulimit -f")
                                    .arg(notePath)
                                    .toUtf8();
        while (!output.contains(told) && app.state() != QProcess::NotRunning) {
            app.waitForReadyRead(20000);
            output += app.readAllStandardOutput();
        }
        QVERIFY2(output.contains(told), (output + app.readAllStandardError()).constData());
        app.terminate();
        QVERIFY(app.waitForFinished(20000));
        output += app.readAllStandardOutput();
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);

        QCOMPARE(output.count("❌ Quitting without saving"), 1);
        QVERIFY2(output.contains(QStringLiteral("❌ Quitting without saving: %1 cannot be written")
                                     .arg(notePath)
                                     .toUtf8()),
                 output.constData());
        const QString rescueFolder = home.filePath(QStringLiteral(".local/state/Jotshelf"));
        const QStringList rescued
            = QDir(rescueFolder).entryList({QStringLiteral("jotshelf-note-*.txt")});
        QCOMPARE(rescued.size(), 1);
        const QString rescue = rescueFolder + u'/' + rescued.first();
        QVERIFY(output.contains(
            QStringLiteral("   The note was written to %1\n").arg(rescue).toUtf8()));
        QCOMPARE(QString::fromUtf8(TestFiles::readAll(rescue)), note);
        QCOMPARE(TestFiles::readAll(notePath), noteFile);
    }
};

QTEST_GUILESS_MAIN(tst_SaveFailures)
#include "tst_SaveFailures.moc"
