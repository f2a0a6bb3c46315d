// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LaunchedJotshelf.h"

#include "instance/InstanceCommand.h"
#include "instance/InstancePaths.h"
#include "instance/Launch.h"
#include "storage/PrivateFile.h"

#include <QLocalSocket>
#include <QTest>

#include <memory>
#include <vector>

// The commands of a launch against the real binary: an instance on the offscreen platform, each
// command a process of its own without a display.
class tst_Launch : public QObject
{
    Q_OBJECT

    std::unique_ptr<JotshelfHome> m_home;

    QByteArray print() const
    {
        const Finished printed = m_home->run({QStringLiteral("--print")});
        return printed.exitCode == 0 ? printed.out : QByteArray("(--print failed)");
    }

    /// What the note file holds, read as a launch does when no instance runs.
    QByteArray stored() const
    {
        QString error;
        const auto note
            = Launch::storedNote(m_home->noteFolder() + QStringLiteral("/Jotshelf.conf"), &error);
        return note ? *note : error.toUtf8();
    }

    bool quit(LaunchedJotshelf &instance) const
    {
        return m_home->run({QStringLiteral("--quit")}).exitCode == 0
            && instance.finishedWithSuccess();
    }

private Q_SLOTS:
    void init() { m_home = std::make_unique<JotshelfHome>(); }
    // An instance that --append started outlives its launch: it goes with the test.
    void cleanup() { m_home->run({QStringLiteral("--quit")}); }

    // --append goes to the end of the note on a line of its own, as typing would, lists
    // continuing; --sync returns with the note on disk; --print hands back what the instance
    // holds, byte for byte.
    void appendAndPrintThroughTheInstance()
    {
        auto instance = m_home->launchInstance();
        QVERIFY2(instance->waitForStart(), instance->output().constData());

        Finished result = m_home->run({QStringLiteral("--append")}, "call Ann\n");
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(print(), QByteArray("call Ann\n"));

        QCOMPARE(
            m_home->run({QStringLiteral("--append"), QStringLiteral("-"), QStringLiteral("eggs")})
                .exitCode,
            0);
        QCOMPARE(m_home->run({QStringLiteral("--append"), QStringLiteral("--sync")}, "- milk\n")
                     .exitCode,
                 0);
        const QByteArray expected("call Ann\n- eggs\n- milk\n- ");
        QCOMPARE(stored(), expected);
        QCOMPARE(print(), expected);
        // The empty item takes the next text.
        QCOMPARE(m_home->run({QStringLiteral("--append"), QStringLiteral("bread")}).exitCode, 0);
        QCOMPARE(print(), QByteArray("call Ann\n- eggs\n- milk\n- bread"));
        QVERIFY(quit(*instance));
        QCOMPARE(stored(), QByteArray("call Ann\n- eggs\n- milk\n- bread"));
        QCOMPARE(print(), QByteArray("call Ann\n- eggs\n- milk\n- bread"));
    }

    // With no display at hand, a platform named as Qt's "-platform=name" is enough for --append
    // to start an instance on it.
    void appendStartsAnInstanceOnThePlatformNamed()
    {
        const Finished appended
            = m_home->run({QStringLiteral("-platform=offscreen"), QStringLiteral("--append"),
                           QStringLiteral("--sync"), QStringLiteral("started")});
        QVERIFY2(appended.exitCode == 0, qPrintable(appended.err));
        QCOMPARE(stored(), QByteArray("started"));
    }

    // Text that is not UTF-8, or longer than 16 MB, is refused before it reaches the note.
    void badTextIsRefused_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("message");
        const QString notUtf8 = QStringLiteral("the text is not valid UTF-8");
        QTest::newRow("stray byte") << QByteArray("milk \xff\n") << notUtf8;
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << notUtf8;
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << notUtf8;
        QTest::newRow("cut short") << QByteArray("caf\xc3") << notUtf8;
        QTest::newRow("16 MB and a byte") << QByteArray(InstanceCommands::maxAppendBytes + 1, '\n')
                                          << QStringLiteral("the text is longer than 16 MB");
    }

    void badTextIsRefused()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, message);
        auto instance = m_home->launchInstance();
        QVERIFY2(instance->waitForStart(), instance->output().constData());
        QCOMPARE(m_home->run({QStringLiteral("--append"), QStringLiteral("keep")}).exitCode, 0);

        const Finished refused = m_home->run({QStringLiteral("--append")}, input);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(message), qPrintable(refused.err));
        QVERIFY2(refused.err.contains(QLatin1String("nothing was appended")),
                 qPrintable(refused.err));
        // The same bytes as words of the command line (QProcess cannot pass bytes that are not
        // UTF-8; the shell's printf can).
        if (input.size() < 100) {
            QString octal;
            for (const char byte : std::as_const(input))
                octal += QStringLiteral("\\%1").arg(uint(uchar(byte)), 3, 8, QLatin1Char('0'));
            QProcess shell;
            shell.setProcessEnvironment(m_home->commandEnvironment());
            shell.start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"),
                         QStringLiteral("exec \"$0\" --append \"$(printf '%1')\"").arg(octal),
                         QStringLiteral(JOTSHELF_BINARY)});
            QVERIFY(shell.waitForFinished(20000));
            QCOMPARE(shell.exitCode(), 1);
            QVERIFY(QString::fromUtf8(shell.readAllStandardError()).contains(message));
        }
        QCOMPARE(print(), QByteArray("keep"));

        // 16 MB exactly is taken (in lines: one run of 16 MB takes the editor long to lay out).
        if (input.size() > InstanceCommands::maxAppendBytes) {
            QByteArray largest = QByteArray(63, 'y') + '\n';
            largest = largest.repeated(InstanceCommands::maxAppendBytes / largest.size());
            QCOMPARE(largest.size(), InstanceCommands::maxAppendBytes);
            QCOMPARE(m_home->run({QStringLiteral("--append")}, largest).exitCode, 0);
            QCOMPARE(print(), "keep\n" + largest);
        }
        QVERIFY(quit(*instance));
    }

    // --print gives back exactly what the note holds, from the instance and from the file.
    void printIsByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("note");
        QTest::newRow("control characters") << QByteArray("a\x01\x07\x1b\tb\x7f\x0c");
        QTest::newRow("line and paragraph separators") << QByteArray("a\u2028b\u2029c");
        QTest::newRow("carriage returns") << QByteArray("a\r\nb\rc\n");
        QTest::newRow("right to left") << QByteArray("שלום עולם \u200f(1) مرحبا");
        QTest::newRow("ZWJ emoji") << QByteArray("👩‍👩‍👧‍👦 🏳️‍🌈");
        QTest::newRow("combining marks") << QByteArray("e\u0301 a\u0308\u0304 Z\u0335\u0321");
        QTest::newRow("INI syntax") << QByteArray(
            "[General]\nnoteContent=x\n; comment\n# too\n\"quoted\" \\\\ , @Variant(x)\n");
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbfmilk");
        QTest::newRow("noncharacters") << QByteArray("\xef\xb7\x90 \xef\xbf\xbf \xf4\x8f\xbf\xbf");
        QTest::newRow("white space only") << QByteArray(" \t \n\n");
    }

    void printIsByteIdentical()
    {
        QFETCH(QByteArray, note);
        auto instance = m_home->launchInstance();
        QVERIFY2(instance->waitForStart(), instance->output().constData());
        QCOMPARE(m_home->run({QStringLiteral("--append"), QStringLiteral("--sync")}, note).exitCode,
                 0);
        QCOMPARE(print(), note);
        QCOMPARE(stored(), note);
        QVERIFY(quit(*instance));
        QCOMPARE(print(), note);
    }

    // Appends keep their order and nothing is lost with the drawer open and saves of a large
    // note under way; without an instance, --append starts one hidden and returns.
    void appendsInTurnWhileSaving()
    {
        QCOMPARE(m_home
                     ->run({QStringLiteral("--append")}, QByteArray(4 << 20, 'n'),
                           m_home->instanceEnvironment())
                     .exitCode,
                 0);
        QCOMPARE(
            m_home->run({QStringLiteral("--show")}, {}, m_home->instanceEnvironment()).exitCode, 0);
        QByteArray expected(4 << 20, 'n');
        for (int i = 0; i < 20; ++i) {
            const QByteArray line = "line " + QByteArray::number(i);
            QCOMPARE(m_home->run({QStringLiteral("--append"), QString::fromLatin1(line)}).exitCode,
                     0);
            expected += '\n' + line;
            if (i % 5 == 0)
                QTest::qWait(600); // a save starts in between
        }
        QCOMPARE(print(), expected);
        const Finished quitting = m_home->run({QStringLiteral("--quit")});
        QCOMPARE(quitting.exitCode, 0);
        QCOMPARE(stored(), expected);
    }

    // The lock lives with the note: a launch with another runtime folder (XDG_RUNTIME_DIR
    // unset, or another one) finds the instance for its note, or says why it cannot, and
    // never starts a second one for the same note.
    void theLockLivesWithTheNote()
    {
        auto instance = m_home->launchInstance();
        QVERIFY2(instance->waitForStart(), instance->output().constData());
        const QString otherRun = m_home->path(QStringLiteral("other-run"));
        QVERIFY(QDir().mkdir(otherRun, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcessEnvironment elsewhere = m_home->instanceEnvironment();
        elsewhere.insert(QStringLiteral("XDG_RUNTIME_DIR"), otherRun);

        QCOMPARE(
            m_home
                ->run({QStringLiteral("--append"), QStringLiteral("from elsewhere")}, {}, elsewhere)
                .exitCode,
            0);
        QCOMPARE(m_home->run({}, {}, elsewhere).exitCode, 0);
        QCOMPARE(print(), QByteArray("from elsewhere"));

        // Without the file naming the socket, the launch cannot reach the instance: it says so
        // and leaves the note alone.
        QVERIFY(QFile::remove(m_home->noteFolder() + QStringLiteral("/jotshelf.address")));
        const Finished refused
            = m_home->run({QStringLiteral("--append"), QStringLiteral("lost?")}, {}, elsewhere);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(QLatin1String("jotshelf.lock")), qPrintable(refused.err));
        QCOMPARE(print(), QByteArray("from elsewhere"));
        QVERIFY(quit(*instance));
    }

    // A burst of connections that never say anything does not close the listener, also when
    // the instance may hold only 64 descriptors.
    void aBurstOfConnectionsDoesNotCloseTheListener()
    {
        LaunchedJotshelf instance(
            m_home->instanceEnvironment(),
            {QStringLiteral("--nofile=64:64"), QStringLiteral(JOTSHELF_BINARY)},
            QStringLiteral("prlimit"));
        QVERIFY2(instance.waitForStart(), instance.output().constData());
        const auto paths = InstancePaths::resolve(m_home->runtimeDir(), m_home->path(),
                                                  m_home->noteFolder(), nullptr);
        QVERIFY(paths);
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < 200; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(paths->socketPath());
            QVERIFY(idle.back()->waitForConnected(5000));
        }
        QCOMPARE(m_home->run({QStringLiteral("--toggle")}).exitCode, 0);
        QVERIFY2(instance.waitFor(QStringLiteral("🔄 Animating")), instance.output().constData());
        idle.clear();
        QCOMPARE(m_home->run({QStringLiteral("--append"), QStringLiteral("still here")}).exitCode,
                 0);
        QCOMPARE(print(), QByteArray("still here"));
        QVERIFY(quit(instance));
    }

    // A note never outgrows what a start reads (64 MB of file): a start finds one that did
    // (written by an older version) and loads its first 64 MB, keeping the whole file and
    // saying so; an append that would pass the limit is refused, and the next start loads the
    // note as it was saved.
    void aNoteNeverOutgrowsWhatAStartReads()
    {
        QVERIFY(QDir().mkpath(m_home->noteFolder()));
        const QByteArray head("[General]\nnoteContent=\"");
        // Lines of 64 characters, each 65 bytes in the file (its line feed as "\\n").
        const QByteArray line = QByteArray(63, 'a') + "\\n";
        const QByteArray lines = line.repeated(PrivateFile::maxNoteBytes / line.size() + 64);
        const qint64 overLong = head.size() + lines.size() + 2;
        {
            QFile note(m_home->notePath());
            QVERIFY(note.open(QIODevice::WriteOnly));
            note.write(head + lines + "\"\n");
        }
        auto instance = m_home->launchInstance();
        QVERIFY2(instance->waitForStart(), instance->output().constData());
        QVERIFY2(instance->output().contains("the note holds its first 64 MB"),
                 instance->output().constData());
        const QStringList kept
            = QDir(m_home->noteFolder()).entryList({QStringLiteral("note.conf.unreadable-*")});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(QFileInfo(m_home->noteFolder() + u'/' + kept.first()).size(), overLong);

        const Finished refused = m_home->run({QStringLiteral("--append"), QStringLiteral("more")});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(QLatin1String("would grow past 64 MB"))
                     && refused.err.contains(QLatin1String("nothing was appended")),
                 qPrintable(refused.err));
        QVERIFY(quit(*instance));
        const qint64 saved = QFileInfo(m_home->notePath()).size();
        QVERIFY2(saved <= PrivateFile::maxNoteBytes && saved > PrivateFile::maxNoteBytes - 128,
                 qPrintable(QString::number(saved)));
        const QByteArray note = stored();
        QVERIFY(QByteArray(lines).replace("\\n", "\n").startsWith(note));

        auto again = m_home->launchInstance();
        QVERIFY2(again->waitForStart(), again->output().constData());
        QVERIFY2(!again->output().contains("Could not read"), again->output().constData());
        QCOMPARE(print(), note);
        QVERIFY(quit(*again));
    }

    // SIGTERM while the note can be written nowhere (a file-size limit of 0 stands for a disk
    // full everywhere): the instance says where the note could not go and stays open with it,
    // as --quit does; once the note can be written the next SIGTERM ends it, the note saved.
    void sigtermNeverLosesTheNote()
    {
        LaunchedJotshelf instance(
            m_home->instanceEnvironment(),
            {QStringLiteral("--fsize=0:unlimited"), QStringLiteral(JOTSHELF_BINARY)},
            QStringLiteral("prlimit"));
        QVERIFY2(instance.waitForStart(), instance.output().constData());
        const Finished unsaved = m_home->run(
            {QStringLiteral("--append"), QStringLiteral("--sync"), QStringLiteral("keep me")});
        QCOMPARE(unsaved.exitCode, 1);
        // The reason the failed write gave, here and at the end alike.
        const QString reason = QStringLiteral("(the disk is full for Jotshelf: it reached its "
                                              "file-size limit, ulimit -f)");
        QVERIFY2(unsaved.err.contains(reason), qPrintable(unsaved.err));
        instance.process().terminate();
        QVERIFY2(instance.waitFor(QStringLiteral("stays open with the note")),
                 instance.output().constData());
        QVERIFY(instance.output().contains(
            (m_home->notePath() + QStringLiteral(" cannot be written ") + reason).toUtf8()));
        QVERIFY(instance.isRunning());

        const QString pid = QString::number(instance.process().processId());
        QCOMPARE(QProcess::execute(
                     QStringLiteral("prlimit"),
                     {QStringLiteral("--pid"), pid, QStringLiteral("--fsize=unlimited:unlimited")}),
                 0);
        instance.process().terminate();
        QVERIFY(instance.finishedWithSuccess());
        QCOMPARE(stored(), QByteArray("keep me"));
    }

    // With too few file descriptors the instance does not start half-way (GLib ended it on
    // SIGTRAP when a thread found none): it says why, and the note stays where it is, whole.
    void tooFewFileDescriptorsStopTheStartCleanly()
    {
        QVERIFY(QDir().mkpath(m_home->noteFolder()));
        QFile note(m_home->notePath());
        QVERIFY(note.open(QIODevice::WriteOnly));
        const QByteArray bytes("[General]\nnoteContent=my words\n");
        note.write(bytes);
        note.close();
        QProcess limited;
        limited.setProcessEnvironment(m_home->instanceEnvironment());
        limited.start(QStringLiteral("prlimit"),
                      {QStringLiteral("--nofile=8:8"), QStringLiteral(JOTSHELF_BINARY)});
        QVERIFY(limited.waitForFinished(20000));
        QCOMPARE(limited.exitStatus(), QProcess::NormalExit);
        QCOMPARE(limited.exitCode(), 1);
        const QString error = QString::fromUtf8(limited.readAllStandardError());
        QVERIFY2(error.contains(QLatin1String("ulimit -n")), qPrintable(error));
        QCOMPARE(QDir(m_home->noteFolder()).entryList(QDir::Files),
                 QStringList {QStringLiteral("note.conf")});
        QVERIFY(note.open(QIODevice::ReadOnly));
        QCOMPARE(note.readAll(), bytes);
    }

    // --quit with a note that cannot be written says so, names the file and the rescue copy,
    // and fails; the instance reports it once.
    void quitWithAnUnsavedNoteFails()
    {
        auto instance = m_home->launchInstance();
        QVERIFY2(instance->waitForStart(), instance->output().constData());
        QCOMPARE(m_home
                     ->run({QStringLiteral("--append"), QStringLiteral("--sync"),
                            QStringLiteral("first")})
                     .exitCode,
                 0);
        // The note's file gives way to a folder: no write can replace it, not even root's.
        QVERIFY(QFile::remove(m_home->notePath()));
        QVERIFY(QDir().mkdir(m_home->notePath()));
        const Finished unsaved = m_home->run(
            {QStringLiteral("--append"), QStringLiteral("--sync"), QStringLiteral("second")});
        QCOMPARE(unsaved.exitCode, 1);
        QVERIFY2(unsaved.err.contains(m_home->notePath()), qPrintable(unsaved.err));
        QVERIFY(QDir(m_home->path()).entryList({QStringLiteral("jotshelf-note-*.txt")}).isEmpty());

        const Finished quitting = m_home->run({QStringLiteral("--quit")});
        QCOMPARE(quitting.exitCode, 1);
        QVERIFY2(quitting.err.contains(m_home->notePath()), qPrintable(quitting.err));
        // The rescue copy goes to a private folder; the command names it.
        const qsizetype at = quitting.err.indexOf(QStringLiteral("written to "));
        QVERIFY2(at >= 0, qPrintable(quitting.err));
        const QString copyPath = quitting.err.mid(at + 11).trimmed();
        QFile copy(copyPath);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("first\nsecond"));
        QVERIFY(instance->finishedWithSuccess());
        QCOMPARE(instance->output().count("❌ Quitting without saving"), 1);
    }
};

QTEST_GUILESS_MAIN(tst_Launch)
#include "tst_Launch.moc"
