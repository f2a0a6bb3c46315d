// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileSizeLimit.h"
#include "TestAppState.h"
#include "TestFiles.h"

#include "app/Persistence.h"
#include "storage/DebouncedWriter.h"
#include "storage/NoteFile.h"
#include "storage/PrivateFile.h"

#include <QDirIterator>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QStringList setAsideCopies(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.unreadable-*")},
                                  QDir::AllEntries | QDir::System);
}
} // namespace

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iniLinesAreChecked_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("usable");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("plain") << QByteArray("[General]\nwindowOpacity=0.4\n") << true;
        QTest::newRow("comments and blanks")
            << QByteArray("; c\n# c\n\n  \n[General]\r\na=1\r\n") << true;
        QTest::newRow("continued value") << QByteArray("[General]\na=one \\\ntwo\n") << true;
        QTest::newRow("garbage line")
            << QByteArray("[General]\nwindowOpacity=0.4\nnonsense\n") << false;
        QTest::newRow("open section") << QByteArray("[General\na=1\n") << false;
        QTest::newRow("NUL byte") << QByteArray("[General]\na=1\0\n", 15) << false;
        QTest::newRow("not UTF-8") << QByteArray("[General]\nnoteContent=caf\xe9\n") << false;
    }

    void iniLinesAreChecked()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, usable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QCOMPARE(PrivateFile::problemWith(path).isEmpty(), usable);
    }

    // A damaged settings file is kept whole beside the new one; what could be read is used, the
    // defaults stand in for the rest, and the user hears of it once.
    void aDamagedFileIsKeptAndWhatCanBeReadIsUsed()
    {
        TestAppState t;
        const QByteArray damaged(
            "[General]\nwindowOpacity=0.4\ndrawerPosition=left\n\xff\xfe garbage\n");
        t.seedRaw(damaged);
        AppState &state = t.start();
        QSignalSpy notices(&state, &AppState::noticeRequested);

        QCOMPARE(state.windowOpacity(), 0.4);
        QCOMPARE(state.drawerPosition(), DrawerPosition::Left);
        QCOMPARE(state.windowSize(), QSizeF(400, 600));

        const QString folder = QFileInfo(t.settingsPath()).absolutePath();
        const QStringList copies = setAsideCopies(folder);
        QCOMPARE(copies.size(), 1);
        const QString copy = folder + QLatin1Char('/') + copies.first();
        QCOMPARE(TestFiles::readAll(copy), damaged);
        QCOMPARE(t.lines.filter(QStringLiteral("❌")).size(), 1);
        QVERIFY(t.lines.filter(QStringLiteral("❌")).first().contains(copy));
        QTRY_COMPARE(notices.count(), 1);

        // The new file is sound and holds the values again.
        QVERIFY(PrivateFile::problemWith(t.settingsPath()).isEmpty());
        QCOMPARE(t.stored("drawerPosition").toString(), QStringLiteral("left"));
        QTRY_COMPARE(t.stored("windowOpacity").toDouble(), 0.4);
    }

    void aFolderInPlaceOfTheFileIsMovedAside()
    {
        TestAppState t;
        QVERIFY(QDir().mkpath(t.settingsPath() + QStringLiteral("/inside")));
        AppState &state = t.start();
        state.setAutoFormatDashes(false);
        QCOMPARE(t.stored("autoFormatDashes").toString(), QStringLiteral("false"));
        const QStringList copies = setAsideCopies(QFileInfo(t.settingsPath()).absolutePath());
        QCOMPARE(copies.size(), 1);
        QVERIFY(QFileInfo(QFileInfo(t.settingsPath()).absolutePath() + QLatin1Char('/')
                          + copies.first() + QStringLiteral("/inside"))
                    .isDir());
    }

    // A file that cannot be opened or read (no descriptor left here; a mode that keeps the
    // user out, an I/O error) is no damaged file: it stays where it is, whole, and the store
    // says why it could not be read, so that nothing is written over it.
    void aFileThatCannotBeOpenedIsLeftInPlace_data()
    {
        QTest::addColumn<bool>("noteFile");
        QTest::addColumn<bool>("noDescriptors");
        QTest::newRow("settings, no descriptor left") << false << true;
        QTest::newRow("note, no descriptor left") << true << true;
        if (::geteuid() != 0) // root reads every file
            QTest::newRow("settings, no permission") << false << false;
    }

    void aFileThatCannotBeOpenedIsLeftInPlace()
    {
        QFETCH(bool, noteFile);
        QFETCH(bool, noDescriptors);
        TestAppState t;
        const QString path = noteFile ? t.notePath() : t.settingsPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        // Not in the form the note file is written in: read again through QSettings.
        const QByteArray bytes("[General]\nnoteContent=my words\n");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        std::unique_ptr<SettingsStore> store;
        std::unique_ptr<NoteStore> notes;
        auto open = [&] {
            store = std::make_unique<SettingsStore>(t.settingsPath());
            notes = std::make_unique<NoteStore>(*store);
        };
        if (noDescriptors) {
            rlimit previous = {};
            QCOMPARE(::getrlimit(RLIMIT_NOFILE, &previous), 0);
            const int lowestFree = ::dup(0);
            QVERIFY(lowestFree >= 0);
            ::close(lowestFree);
            rlimit none = previous;
            none.rlim_cur = rlim_t(lowestFree);
            QCOMPARE(::setrlimit(RLIMIT_NOFILE, &none), 0);
            open();
            QCOMPARE(::setrlimit(RLIMIT_NOFILE, &previous), 0);
        } else {
            QFile::setPermissions(path, QFileDevice::Permissions());
            open();
        }
        const QString unreadable = store->unreadable() + notes->unreadable();
        QVERIFY2(unreadable.contains(path), qPrintable(unreadable));
        QVERIFY(store->setAside().isEmpty() && notes->setAside().isEmpty());
        QVERIFY(setAsideCopies(QFileInfo(path).absolutePath()).isEmpty());
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(TestFiles::readAll(path), bytes);
    }

    // A damaged note file is kept too, and the note that could be read comes back.
    void aDamagedNoteFileIsKeptAndTheNoteRecovered()
    {
        TestAppState t;
        QDir().mkpath(QFileInfo(t.notePath()).absolutePath());
        QFile note(t.notePath());
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.write("[General]\nnoteContent=my words\nstray line\n");
        note.close();
        AppState &state = t.start();
        QCOMPARE(state.noteContent(), QStringLiteral("my words"));
        QCOMPARE(setAsideCopies(QFileInfo(t.notePath()).absolutePath()).size(), 1);
        state.flushPendingSaves();
        QCOMPARE(t.stored("noteContent").toString(), QStringLiteral("my words"));
    }

    // The application reads the note file on a thread of its own while it starts: the store
    // judges what that thread read as it judges a file it reads itself.
    void aNoteReadInBackgroundIsCheckedLikeOneReadAtOpening_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("setAside");
        QTest::newRow("as written") << QByteArray("[General]\nnoteContent=\"my words\"\n") << 0;
        QTest::newRow("damaged") << QByteArray("[General]\nnoteContent=my words\nstray line\n")
                                 << 1;
    }

    void aNoteReadInBackgroundIsCheckedLikeOneReadAtOpening()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, setAside);
        QTemporaryDir dir;
        const QString settingsPath = dir.filePath(QStringLiteral("Jotshelf.conf"));
        QFile note(dir.filePath(QStringLiteral("note.conf")));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.write(file);
        note.close();
        SettingsStore settings(settingsPath);
        NoteStore store(settings, NoteStore::readInBackground(settingsPath));
        QCOMPARE(store.text(), QStringLiteral("my words"));
        QCOMPARE(store.setAside().size(), setAside);
        QCOMPARE(setAsideCopies(dir.path()).size(), setAside);
    }

    // A FIFO where a file should be is moved aside without being opened: reading it would
    // wait for a writer for ever.
    void aFifoInPlaceOfAFileIsMovedAsideUnread_data()
    {
        QTest::addColumn<bool>("noteFile");
        QTest::newRow("settings file") << false;
        QTest::newRow("note file") << true;
    }

    void aFifoInPlaceOfAFileIsMovedAsideUnread()
    {
        QFETCH(bool, noteFile);
        TestAppState t;
        const QString path = noteFile ? t.notePath() : t.settingsPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        AppState &state = t.start();
        const QStringList copies = setAsideCopies(QFileInfo(path).absolutePath());
        QCOMPARE(copies.size(), 1);
        QVERIFY(copies.first().startsWith(QFileInfo(path).fileName()));
        QCOMPARE(t.lines.filter(QStringLiteral("❌")).size(), 1);
        state.setNoteContent(QStringLiteral("written"));
        state.setAutoFormatDashes(false);
        state.flushPendingSaves();
        QVERIFY(state.persistence().isWritten());
        QCOMPARE(t.stored("noteContent").toString(), QStringLiteral("written"));
    }

    // A link where a file should be is set aside like any file that cannot be used, and the file
    // it names is never written: writing through it would change a file elsewhere.
    void aLinkInPlaceOfAFileIsSetAsideAndNotWrittenThrough_data()
    {
        QTest::addColumn<bool>("noteFile");
        QTest::newRow("settings file") << false;
        QTest::newRow("note file") << true;
    }

    void aLinkInPlaceOfAFileIsSetAsideAndNotWrittenThrough()
    {
        QFETCH(bool, noteFile);
        TestAppState t;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("target.conf"));
        const QByteArray bytes = noteFile ? QByteArray("[General]\nnoteContent=\"linked\"\n")
                                          : QByteArray("[General]\nwindowOpacity=0.4\n");
        {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const QString path = noteFile ? t.notePath() : t.settingsPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(QFile::link(target, path));

        AppState &state = t.start();
        if (noteFile)
            QCOMPARE(state.noteContent(), QStringLiteral("linked"));
        else
            QCOMPARE(state.windowOpacity(), 0.4);
        const QStringList copies = setAsideCopies(QFileInfo(path).absolutePath());
        QCOMPARE(copies.size(), 1);
        QVERIFY(QFileInfo(QFileInfo(path).absolutePath() + u'/' + copies.first()).isSymLink());
        QCOMPARE(t.lines.filter(QStringLiteral("❌")).size(), 1);
        state.setNoteContent(QStringLiteral("written"));
        state.setAutoFormatDashes(false);
        state.flushPendingSaves();
        QVERIFY(state.persistence().isWritten());
        QCOMPARE(TestFiles::readAll(target), bytes);
        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(t.stored("noteContent").toString(), QStringLiteral("written"));
    }

    // A file too large to be the note or the settings is set aside unread, whatever its size
    // (a sparse file of 3 GB here): it used to be read whole several times over.
    void anOversizedFileIsSetAsideUnread_data()
    {
        QTest::addColumn<bool>("noteFile");
        QTest::addColumn<qint64>("size");
        QTest::newRow("settings file") << false << PrivateFile::maxSettingsBytes + 1;
        QTest::newRow("note file") << true << qint64(3) * 1024 * 1024 * 1024;
    }

    void anOversizedFileIsSetAsideUnread()
    {
        QFETCH(bool, noteFile);
        QFETCH(qint64, size);
        TestAppState t;
        const QString path = noteFile ? t.notePath() : t.settingsPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[General]\nnoteContent=\"");
            QVERIFY(file.resize(size));
        }
        AppState &state = t.start();
        QCOMPARE(state.noteContent(), QString());
        const QString folder = QFileInfo(path).absolutePath();
        const QStringList copies = setAsideCopies(folder);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(QFileInfo(folder + u'/' + copies.first()).size(), size);
        const QStringList told = t.lines.filter(QStringLiteral("❌"));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(noteFile ? QStringLiteral("larger than 64 MB")
                                                : QStringLiteral("larger than 1 MB")),
                 qPrintable(told.first()));
    }

    // Files and a folder that others could read (from a backup, an older version) are made the
    // user's own at the start, and the user hears of it once.
    void filesOpenToOthersAreMadePrivate()
    {
        TestAppState t;
        t.seedRaw("[General]\nwindowOpacity=0.4\n");
        {
            QFile note(t.notePath());
            QVERIFY(note.open(QIODevice::WriteOnly));
            note.write("[General]\nnoteContent=\"mine\"\n");
        }
        const QString folder = QFileInfo(t.settingsPath()).absolutePath();
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(t.notePath()).constData(), 0644), 0);
        QCOMPARE(::chmod(QFile::encodeName(t.settingsPath()).constData(), 0640), 0);

        t.start();
        QCOMPARE(t.state->noteContent(), QStringLiteral("mine"));
        QCOMPARE(QFile::permissions(folder) & 0x0777,
                 QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        for (const QString &path : {t.settingsPath(), t.notePath()})
            QCOMPARE(QFile::permissions(path) & 0x0777, QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(t.lines.filter(QStringLiteral("🔒")),
                 QStringList {QStringLiteral("🔒 Made %1, %2, %3 readable by you only (others "
                                             "could read them)")
                                  .arg(folder, t.settingsPath(), t.notePath())});
        t.state.reset();
        t.lines.clear();
        t.start();
        QVERIFY(t.lines.filter(QStringLiteral("🔒")).isEmpty());
    }

    // A note file edited by hand so that its value reads as something other than text (a list
    // of comma-separated pieces, a typed value) is kept whole beside a new one, with the text
    // that could be read from it.
    void aNoteThatIsNotTextIsKept_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("note");
        QTest::newRow("unquoted commas")
            << QByteArray("noteContent=milk, eggs,bread") << QStringLiteral("milk, eggs, bread");
        QTest::newRow("typed value") << QByteArray("noteContent=@Rect(1 2 3 4)") << QString();
        QTest::newRow("byte array") << QByteArray("noteContent=@ByteArray(abc)") << QString();
        // Whatever else the file holds would be gone with the next save.
        QTest::newRow("another key") << QByteArray("NoteContent=\"mine\"") << QString();
        QTest::newRow("a key beside it")
            << QByteArray("noteContent=\"mine\"\nextra=\"x\"") << QStringLiteral("mine");
        QTest::newRow("another section")
            << QByteArray("noteContent=\"mine\"\n[Other]\nnoteContent=\"theirs\"")
            << QStringLiteral("mine");
        QTest::newRow("a duplicate key")
            << QByteArray("noteContent=\"one\"\nnoteContent=\"two\"") << QStringLiteral("two");
        QTest::newRow("unquoted, as QSettings writes it")
            << QByteArray("noteContent=milk") << QStringLiteral("milk");
    }

    void aNoteThatIsNotTextIsKept()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, note);
        TestAppState t;
        QVERIFY(QDir().mkpath(QFileInfo(t.notePath()).absolutePath()));
        QFile file(t.notePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray bytes = "[General]\n" + line + '\n';
        file.write(bytes);
        file.close();

        AppState &state = t.start();
        QSignalSpy notices(&state, &AppState::noticeRequested);
        QCOMPARE(state.noteContent(), note);
        const QString folder = QFileInfo(t.notePath()).absolutePath();
        const QStringList copies = setAsideCopies(folder);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(TestFiles::readAll(folder + u'/' + copies.first()), bytes);
        QCOMPARE(t.lines.filter(QStringLiteral("❌")).size(), 1);
        QVERIFY(t.lines.filter(QStringLiteral("❌")).first().contains(copies.first()));
        QTRY_COMPARE(notices.count(), 1);
        state.setNoteContent(state.noteContent() + QStringLiteral("!"));
        state.flushPendingSaves();
        QCOMPARE(t.stored("noteContent").toString(), note + QStringLiteral("!"));
    }

    // The disk fills up while the note is saved: the note stays in memory, the user hears of it
    // once, the file keeps the whole note before, and when the drawer hides after room was
    // made, the newest note is written.
    void aFullDiskKeepsTheNoteUntilThereIsRoom()
    {
        TestAppState t;
        AppState &state = t.start();
        t.instantSlides();
        state.setNoteContent(QStringLiteral("saved before"));
        state.flushPendingSaves();
        QSignalSpy notices(&state, &AppState::noticeRequested);
        const QString large = QString(2'000'000, QLatin1Char('x'));
        {
            FileSizeLimit full(500'000);
            QVERIFY(full.isActive());
            state.setNoteContent(large);
            QTRY_VERIFY(!state.persistence().isWritten());
            state.setNoteContent(large + QStringLiteral("y"));
            const auto writers = state.persistence().findChildren<DebouncedWriter *>();
            QTRY_VERIFY(
                std::none_of(writers.cbegin(), writers.cend(),
                             [](const DebouncedWriter *writer) { return writer->isPending(); }));
            state.noteStore().waitForWritten();
            QVERIFY(!state.persistence().isWritten());
            QTRY_COMPARE(notices.count(), 1);
            QCOMPARE(t.lines.filter(QStringLiteral("❌ Could not save")).size(), 1);
            QCOMPARE(t.stored("noteContent").toString(), QStringLiteral("saved before"));
            QVERIFY(PrivateFile::problemWith(t.notePath()).isEmpty());
        }
        QCOMPARE(state.noteContent(), large + QStringLiteral("y"));

        state.toggleDrawer();
        state.toggleDrawer();
        QTRY_VERIFY(state.persistence().isWritten());
        state.noteStore().waitForWritten();
        QCOMPARE(t.stored("noteContent").toString(), large + QStringLiteral("y"));
        QTRY_COMPARE(t.lines.filter(QStringLiteral("✅ Saved to")).size(), 1);
        QCOMPARE(notices.count(), 1);
    }

    // A switch changed while the disk is full: the settings file keeps all it held (QSettings
    // would put an empty file in its place and report success), the failure is told, and the
    // next change after room was made writes everything.
    void aFullDiskNeverCutsTheSettingsFileShort()
    {
        TestAppState t;
        t.seed(QStringLiteral("windowOpacity"), 0.4);
        t.seed(QStringLiteral("drawerPosition"), QStringLiteral("left"));
        AppState &state = t.start();
        const QByteArray before = TestFiles::readAll(t.settingsPath());
        QVERIFY(before.contains("windowOpacity"));
        {
            FileSizeLimit full(16);
            QVERIFY(full.isActive());
            state.setAutoFormatDashes(false);
            QVERIFY(!state.persistence().isWritten());
        }
        QCOMPARE(TestFiles::readAll(t.settingsPath()), before);
        QCOMPARE(t.lines.filter(QStringLiteral("❌ Could not save")).size(), 1);

        state.setAutoFormatBullets(false);
        QVERIFY(state.persistence().isWritten());
        QCOMPARE(t.stored("autoFormatDashes").toString(), QStringLiteral("false"));
        QCOMPARE(t.stored("autoFormatBullets").toString(), QStringLiteral("false"));
        QCOMPARE(t.stored("windowOpacity").toDouble(), 0.4);
        QCOMPARE(t.stored("drawerPosition").toString(), QStringLiteral("left"));
    }

    // A note kept in the settings file by an earlier version moves to its own file.
    void aNoteInTheSettingsFileMovesToItsOwnFile()
    {
        TestAppState t;
        t.seed(QStringLiteral("noteContent"), QStringLiteral("from before"));
        AppState &state = t.start();
        QCOMPARE(state.noteContent(), QStringLiteral("from before"));
        state.flushPendingSaves();
        QTRY_VERIFY(!QSettings(t.settingsPath(), QSettings::IniFormat).contains("noteContent"));
        QCOMPARE(t.stored("noteContent").toString(), QStringLiteral("from before"));
    }

    // A switch does not rewrite the note.
    void switchesLeaveTheNoteFileAlone()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setNoteContent(QString(100000, QLatin1Char('x')));
        state.flushPendingSaves();
        const QDateTime before = QFileInfo(t.notePath()).lastModified();
        const QByteArray bytes = TestFiles::readAll(t.notePath());
        state.setAutoFormatBullets(false);
        state.setDrawerPosition(DrawerPosition::Top);
        QCOMPARE(TestFiles::readAll(t.notePath()), bytes);
        QCOMPARE(QFileInfo(t.notePath()).lastModified(), before);
        QVERIFY(QFileInfo(t.settingsPath()).size() < 1000);
    }

    // While nothing can be written the note stays in memory; once writing works again,
    // everything is written.
    void unwritableFolderIsRetriedAndRecovers()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("Jotshelf"));
        QFile file(blocker); // a file where the folder should be: no one can write below it
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        TestAppState t;
        t.settingsFolder = blocker;
        const QStringList &lines = t.lines;
        AppState &state = t.start();
        QSignalSpy notices(&state, &AppState::noticeRequested);

        state.setAutoFormatDashes(false);
        state.setNoteContent(QStringLiteral("kept in memory"));
        QTRY_VERIFY(!state.persistence().isWritten());
        const auto writers = state.persistence().findChildren<DebouncedWriter *>();
        QVERIFY(!writers.isEmpty());
        // Let the note's pause end, so that its write fails too.
        QTRY_VERIFY(
            std::none_of(writers.cbegin(), writers.cend(),
                         [](const DebouncedWriter *writer) { return writer->isPending(); }));
        state.noteStore().waitForWritten();
        state.setAutoFormatNumbers(false);
        state.setAutoFormatBullets(false);
        QTRY_COMPARE(notices.count(), 1);
        QCOMPARE(lines.filter(QStringLiteral("❌ Could not save")).size(), 1);
        QCOMPARE(state.noteContent(), QStringLiteral("kept in memory"));

        QVERIFY(QFile::remove(blocker));
        state.setHideScrollIndicators(false); // the next change writes everything
        state.noteStore().waitForWritten();
        QTRY_VERIFY(state.persistence().isWritten());
        const QSettings settings(blocker + QStringLiteral("/Jotshelf.conf"), QSettings::IniFormat);
        QCOMPARE(settings.value("autoFormatDashes").toString(), QStringLiteral("false"));
        QCOMPARE(settings.value("hideScrollIndicators").toString(), QStringLiteral("false"));
        const QSettings note(blocker + QStringLiteral("/note.conf"), QSettings::IniFormat);
        QCOMPARE(note.value("noteContent").toString(), QStringLiteral("kept in memory"));
        QTRY_VERIFY(!lines.filter(QStringLiteral("✅ Saved to")).isEmpty());
    }

    // Quitting while the note cannot be written says so once, naming the note's file, and
    // puts the note in a folder only the user can reach: the state folder, or when something
    // else was planted there (a link to a folder others read), a new private folder in $TMPDIR.
    void quittingWhileUnableToWriteSaysSoAndRescuesTheNote_data()
    {
        QTest::addColumn<bool>("plantedLink");
        QTest::newRow("state folder") << false;
        QTest::newRow("a link planted in its place") << true;
    }

    void quittingWhileUnableToWriteSaysSoAndRescuesTheNote()
    {
        QFETCH(bool, plantedLink);
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("Jotshelf"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QTemporaryDir state;
        QTemporaryDir temp;
        const QString planted = temp.filePath(QStringLiteral("planted"));
        if (plantedLink) {
            QVERIFY(QDir().mkpath(planted));
            QVERIFY(QFile::link(planted, state.filePath(QStringLiteral("Jotshelf"))));
        }
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        qputenv("TMPDIR", QFile::encodeName(temp.path()));

        TestAppState t;
        t.settingsFolder = blocker;
        const QStringList &lines = t.lines;
        t.start().setNoteContent(QStringLiteral("rescue me 👍"));
        const SaveOutcome outcome = t.state->flushPendingSaves();
        t.state.reset();
        qunsetenv("XDG_STATE_HOME");
        qunsetenv("TMPDIR");

        const QStringList quitting = lines.filter(QStringLiteral("❌ Quitting without saving"));
        QCOMPARE(quitting.size(), 1);
        QVERIFY2(quitting.first().startsWith(
                     QStringLiteral("❌ Quitting without saving: %1 ").arg(t.notePath())),
                 qPrintable(quitting.first()));
        QCOMPARE(outcome.result, SaveOutcome::Result::NotSaved);
        QCOMPARE(outcome.file, t.notePath());
        const QString folder = plantedLink ? QFileInfo(outcome.rescuePath).absolutePath()
                                           : state.filePath(QStringLiteral("Jotshelf"));
        QCOMPARE(QFileInfo(outcome.rescuePath).absolutePath(), folder);
        if (plantedLink) {
            QVERIFY2(folder.startsWith(temp.filePath(QStringLiteral("jotshelf-rescue-"))),
                     qPrintable(folder));
            QCOMPARE(QDir(planted).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList());
        }
        QVERIFY(lines.contains(
            QStringLiteral("   The note was written to %1").arg(outcome.rescuePath)));
        QVERIFY(
            QFileInfo(outcome.rescuePath).fileName().startsWith(QStringLiteral("jotshelf-note-")));
        QCOMPARE(QString::fromUtf8(TestFiles::readAll(outcome.rescuePath)),
                 QStringLiteral("rescue me 👍"));
        QCOMPARE(QFile::permissions(outcome.rescuePath) & 0x0777,
                 QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QFile::permissions(folder) & 0x0777,
                 QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    }

    // Writes in the background keep their order, and only the newest waiting text is written.
    void noteWritesKeepTheirOrder()
    {
        QTemporaryDir dir;
        NoteFile note(dir.filePath(QStringLiteral("note.conf")));
        QSignalSpy finished(&note, &NoteFile::writeFinished);
        for (int i = 0; i < 50; ++i)
            note.setText(QStringLiteral("noteContent"), QString::number(i));
        note.remove(QStringLiteral("noteContent"));
        note.setText(QStringLiteral("noteContent"), QStringLiteral("last"));
        QVERIFY(note.waitForWritten());
        QCOMPARE(note.text(QStringLiteral("noteContent")),
                 std::optional<QString>(QStringLiteral("last")));
        QTRY_VERIFY(finished.count() >= 1);
        QVERIFY(finished.count() < 52);
    }
};

QTEST_MAIN(tst_SettingsStore)
#include "tst_SettingsStore.moc"
