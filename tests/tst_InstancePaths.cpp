// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestFiles.h"
#include "instance/InstancePaths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class tst_InstancePaths : public QObject
{
    Q_OBJECT

    QString fallbackIn(const QTemporaryDir &root) const
    {
        return root.filePath(QStringLiteral("jotshelf-%1").arg(uint(::getuid())));
    }

private Q_SLOTS:
    void privateRuntimeDirIsUsed()
    {
        QTemporaryDir runtime;
        QTemporaryDir root;
        QVERIFY(QFile::setPermissions(runtime.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QString error;
        QString warning;
        const QString note = root.filePath(QStringLiteral("config/Jotshelf"));
        const auto paths
            = InstancePaths::resolve(runtime.path(), root.path(), note, &error, &warning);
        QVERIFY2(paths, qPrintable(error));
        QCOMPARE(paths->folder(), runtime.path());
        QCOMPARE(QFileInfo(paths->socketPath()).path(), runtime.path());
        QVERIFY2(
            QFileInfo(paths->socketPath())
                .fileName()
                .contains(QRegularExpression(QStringLiteral("^jotshelf-[0-9a-f]{16}\\.socket$"))),
            qPrintable(paths->socketPath()));
        // The lock guards the note, so it lives with it, whatever the runtime folder.
        QCOMPARE(paths->lockPath(), note + QStringLiteral("/jotshelf.lock"));
        QCOMPARE(paths->addressPath(), note + QStringLiteral("/jotshelf.address"));
        QVERIFY(warning.isEmpty());
        QVERIFY(!QFileInfo::exists(fallbackIn(root)));

        // Another note (another XDG_CONFIG_HOME) has a socket of its own; the same note, named
        // another way, the same one.
        const auto other = InstancePaths::resolve(runtime.path(), root.path(),
                                                  root.filePath(QStringLiteral("other")), &error);
        QVERIFY(other && other->socketPath() != paths->socketPath());
        const auto same = InstancePaths::resolve(runtime.path(), root.path(),
                                                 note + QStringLiteral("/../Jotshelf/"), &error);
        QVERIFY(same);
        QCOMPARE(same->socketPath(), paths->socketPath());
    }

    // Anything but a private folder of ours is passed over for jotshelf-<uid> under the
    // temporary root, made 0700; a runtime folder that was set but refused is reported.
    void fallbackFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("warned");
        QTest::newRow("unset") << "unset" << false;
        QTest::newRow("relative") << "relative" << false;
        QTest::newRow("open to others") << "0755" << true;
        QTest::newRow("a link to a private folder") << "link" << true;
        QTest::newRow("missing") << "missing" << true;
    }

    void fallbackFolder()
    {
        QFETCH(QString, kind);
        QFETCH(bool, warned);
        QTemporaryDir scratch;
        QTemporaryDir root;
        QString runtime;
        if (kind == QLatin1String("relative")) {
            runtime = QStringLiteral("run/user");
        } else if (kind == QLatin1String("0755")) {
            runtime = scratch.path();
            QVERIFY(::chmod(QFile::encodeName(runtime).constData(), 0755) == 0);
        } else if (kind == QLatin1String("link")) {
            const QString target = scratch.filePath(QStringLiteral("target"));
            QVERIFY(QDir().mkdir(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            runtime = scratch.filePath(QStringLiteral("link"));
            QVERIFY(QFile::link(target, runtime));
        } else if (kind == QLatin1String("missing")) {
            runtime = scratch.filePath(QStringLiteral("gone"));
        }

        QString error;
        QString warning;
        const auto paths
            = InstancePaths::resolve(runtime, root.path(), root.path(), &error, &warning);
        QVERIFY2(paths, qPrintable(error));
        QCOMPARE(paths->folder(), fallbackIn(root));
        QCOMPARE(TestFiles::modeOf(fallbackIn(root)) & 07777, mode_t(0700));
        QCOMPARE(!warning.isEmpty(), warned);

        // A second launch finds the same folder.
        const auto again = InstancePaths::resolve(runtime, root.path(), root.path(), &error);
        QVERIFY(again);
        QCOMPARE(again->folder(), paths->folder());
    }

    // A folder of that name that others can enter, or a link planted there (another user may
    // make it first), is never used: a private folder of a new name beside it is.
    void unsafeFallbackIsPassedOver_data()
    {
        QTest::addColumn<bool>("asLink");
        QTest::newRow("open to others") << false;
        QTest::newRow("a planted link") << true;
    }

    void unsafeFallbackIsPassedOver()
    {
        QFETCH(bool, asLink);
        QTemporaryDir root;
        QTemporaryDir elsewhere;
        if (asLink) {
            QVERIFY(::chmod(QFile::encodeName(elsewhere.path()).constData(), 0700) == 0);
            QVERIFY(QFile::link(elsewhere.path(), fallbackIn(root)));
        } else {
            QVERIFY(QDir().mkdir(fallbackIn(root)));
            QVERIFY(::chmod(QFile::encodeName(fallbackIn(root)).constData(), 0777) == 0);
        }
        QString error;
        QString warning;
        const auto paths
            = InstancePaths::resolve(QString(), root.path(), root.path(), &error, &warning);
        QVERIFY2(paths, qPrintable(error));
        QVERIFY(paths->folder().startsWith(fallbackIn(root) + u'-'));
        QVERIFY(InstancePaths::isPrivateFolder(paths->folder(), nullptr));
        QVERIFY2(warning.contains(fallbackIn(root)), qPrintable(warning));
    }
};

QTEST_GUILESS_MAIN(tst_InstancePaths)
#include "tst_InstancePaths.moc"
