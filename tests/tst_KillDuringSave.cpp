// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SaveLoopNotes.h"

#include "storage/NoteStore.h"
#include "storage/PrivateFile.h"
#include "storage/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

const QString settingsName = QStringLiteral("Jotshelf.conf");
const QString noteName = QStringLiteral("note.conf");

/// The save loop, started on a settings folder, read line by line.
class SaveLoop
{
public:
    explicit SaveLoop(const QString &folder)
    {
        m_process.setProgram(QStringLiteral(JOTSHELF_SAVE_LOOP));
        m_process.setArguments({folder});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }

    ~SaveLoop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    /// Reads what the loop printed until \a ms have passed (or it ended); returns the new lines.
    QStringList readFor(qint64 ms)
    {
        QElapsedTimer timer;
        timer.start();
        QStringList lines;
        for (;;) {
            while (m_process.canReadLine())
                lines << QString::fromLatin1(m_process.readLine()).trimmed();
            const qint64 left = ms - timer.elapsed();
            if (left <= 0 || m_process.state() == QProcess::NotRunning)
                return lines;
            m_process.waitForReadyRead(int(left));
        }
    }

    /// Reads until the line \a wanted arrives; false when the loop ended first.
    bool waitFor(const QString &wanted, QStringList *seen = nullptr)
    {
        while (m_process.state() != QProcess::NotRunning || m_process.bytesAvailable() > 0) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromLatin1(m_process.readLine()).trimmed();
                if (seen)
                    *seen << line;
                if (line == wanted)
                    return true;
            }
            if (!m_process.waitForReadyRead(60'000) && m_process.state() == QProcess::NotRunning)
                break;
        }
        return false;
    }

    /// True when the loop holds a file open in \a folder that has no name yet: the temporary
    /// file of an atomic replacement, being written.
    bool isWritingInto(const QString &folder) const
    {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(m_process.processId()));
        const QStringList entries
            = fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : entries) {
            const QString target = QFile::symLinkTarget(fds.filePath(fd));
            if (target.startsWith(folder + u'/') && target.endsWith(QLatin1String(" (deleted)")))
                return true;
        }
        return false;
    }

    void kill()
    {
        m_process.kill(); // SIGKILL
        QVERIFY(m_process.waitForFinished());
        QCOMPARE(m_process.exitStatus(), QProcess::CrashExit);
    }

    QProcess m_process;
};

QStringList strayFiles(const QString &folder)
{
    QStringList stray = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    stray.removeAll(settingsName);
    stray.removeAll(noteName);
    return stray;
}

qint64 sizeOf(const QString &folder, const QStringList &names)
{
    qint64 size = 0;
    for (const QString &name : names)
        size += QFileInfo(QDir(folder).filePath(name)).size();
    return size;
}

} // namespace

class tst_KillDuringSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The save loop writes a 5 MB note, alternately A and B, and is killed with SIGKILL at
    // random moments spread over its saves. After every kill both files parse, the note is the
    // whole A or the whole B, and what a killed write leaves behind does not pile up.
    // JOTSHELF_STRESS=1 kills it 100 times instead of 10.
    void aKillLeavesAWholeNote()
    {
        const int kills = qEnvironmentVariableIntValue("JOTSHELF_STRESS") == 1 ? 100 : 10;
        const QString a = SaveLoopNotes::note('A', SaveLoopNotes::sizeA());
        const QString b = SaveLoopNotes::note('B', SaveLoopNotes::sizeB());
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Jotshelf"));

        // How long one round of saves takes here, so that the kills spread over it.
        qint64 round = 0;
        {
            SaveLoop loop(folder);
            QVERIFY(loop.waitFor(QStringLiteral("ready")));
            QVERIFY(loop.waitFor(QStringLiteral("saved A")));
            QElapsedTimer timer;
            timer.start();
            QVERIFY(loop.waitFor(QStringLiteral("saved B")));
            QVERIFY(loop.waitFor(QStringLiteral("saved A")));
            round = timer.elapsed() / 2;
            loop.kill();
        }
        qInfo("one save of a 5 MB note takes about %lld ms here", round);

        std::mt19937 random(6061);
        std::uniform_int_distribution<qint64> moment(0, 3 * round);
        int midWrite = 0;
        int maxStray = 0;
        qint64 maxStraySize = 0;
        QSet<QString> left;
        for (int kill = 0; kill < kills; ++kill) {
            const qint64 delay = moment(random);
            QStringList lines;
            {
                SaveLoop loop(folder);
                QVERIFY(loop.waitFor(QStringLiteral("ready"), &lines));
                lines += loop.readFor(delay);
                if (loop.isWritingInto(folder))
                    ++midWrite;
                loop.kill();
                lines += loop.readFor(0);
            }
            const QString context = QStringLiteral("kill %1 after %2 ms (%3)")
                                        .arg(kill)
                                        .arg(delay)
                                        .arg(lines.join(QStringLiteral(", ")));

            for (const QString &name : {settingsName, noteName}) {
                const QString path = QDir(folder).filePath(name);
                QVERIFY2(PrivateFile::problemWith(path).isEmpty(),
                         qPrintable(context + u' ' + name + QStringLiteral(": ")
                                    + PrivateFile::problemWith(path)));
                const QSettings settings(path, QSettings::IniFormat);
                QVERIFY2(settings.status() == QSettings::NoError, qPrintable(context));
            }
            const QSettings settings(QDir(folder).filePath(settingsName), QSettings::IniFormat);
            const double opacity = settings.value(QStringLiteral("windowOpacity")).toDouble();
            QVERIFY2(opacity == 0.5 || opacity == 0.75, qPrintable(context));
            const QSettings note(QDir(folder).filePath(noteName), QSettings::IniFormat);
            const QVariant stored = note.value(NoteStore::key);
            const QString what = SaveLoopNotes::identify(
                stored.isValid() ? std::optional(stored.toString()) : std::nullopt, a, b);
            QVERIFY2(what == QLatin1String("A") || what == QLatin1String("B"),
                     qPrintable(context + QStringLiteral(": the note is ") + what));

            const QStringList stray = strayFiles(folder);
            for (const QString &name : stray)
                left.insert(name);
            QVERIFY2(stray.filter(QStringLiteral(".unreadable-")).isEmpty(), qPrintable(context));
            maxStray = std::max(maxStray, int(stray.size()));
            maxStraySize = std::max(maxStraySize, sizeOf(folder, stray));
        }
        qInfo("%d of %d kills landed during a write; at most %d files (%lld bytes) beside the "
              "two settings files",
              midWrite, kills, maxStray, maxStraySize);
        qInfo("files left beside them at some point: %s",
              qPrintable(QStringList(left.cbegin(), left.cend()).join(QStringLiteral(", "))));
        // Most of a save goes into encoding the note; the write itself is a small share of it.
        // A hundred kills are enough to be sure some land inside it.
        if (kills >= 100)
            QVERIFY2(midWrite > 0, "no kill landed during a write");

        // What a write killed between naming its new file and the rename leaves, whether or not
        // a kill above landed there; beside it, names that are not a write's of ours.
        const QDir files(folder);
        const QStringList stale = {QStringLiteral("Jotshelf.conf.saving-a1B2c3"),
                                   QStringLiteral("note.conf.saving-Zz9900")};
        const QStringList others
            = {QStringLiteral("Jotshelf.conf.backup"), QStringLiteral("note.conf.saving-dir000"),
               QStringLiteral("note.conf.saving-link00"), QStringLiteral("note.conf.saving-old")};
        for (const QString &name : stale + QStringList {others.at(0), others.at(3)}) {
            QFile file(files.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[General]\nnoteContent=\"half");
        }
        QVERIFY(QFile::link(files.filePath(others.at(0)), files.filePath(others.at(2))));
        QVERIFY(files.mkdir(others.at(1)));

        // The next start reads the note and clears what killed writes left, and only that.
        {
            SettingsStore store(QDir(folder).filePath(settingsName));
            NoteStore notes(store);
            QCOMPARE(strayFiles(folder), others);
            QCOMPARE(store.setAside().size() + notes.setAside().size(), 0);
            const QString what = SaveLoopNotes::identify(notes.text(), a, b);
            QVERIFY2(what == QLatin1String("A") || what == QLatin1String("B"), qPrintable(what));
            notes.setText(what == QLatin1String("A") ? b : a);
            QVERIFY(store.setNumber(QStringLiteral("windowOpacity"), 1));
            QVERIFY(notes.waitForWritten());
        }
        QCOMPARE(strayFiles(folder), others);
    }
};

QTEST_GUILESS_MAIN(tst_KillDuringSave)
#include "tst_KillDuringSave.moc"
