// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DescribeText.h"
#include "storage/AtomicFile.h"
#include "storage/IniWriter.h"
#include "storage/NoteEncoder.h"
#include "storage/NoteFile.h"
#include "storage/PrivateFile.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <random>

class tst_IniWriter : public QObject
{
    Q_OBJECT

private:
    // Writes \a values as keys v0, v1, ... and reads them back with QSettings.
    void roundTrip(const QStringList &values)
    {
        QList<QPair<QString, QString>> entries;
        for (qsizetype i = 0; i < values.size(); ++i)
            entries.append({QStringLiteral("v%1").arg(i), values.at(i)});
        const QString path
            = m_dir.filePath(QStringLiteral("file%1.conf").arg(m_files++)); // never a cached file
        QVERIFY(AtomicFile(path).write(IniWriter::generalSection(entries)));
        QCOMPARE(PrivateFile::problemWith(path), QString());
        const QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.status(), QSettings::NoError);
        for (qsizetype i = 0; i < values.size(); ++i) {
            const QVariant read = settings.value(entries.at(i).first);
            if (read.typeId() != QMetaType::QString || read.toString() != values.at(i))
                QFAIL(qPrintable(QStringLiteral("\"%1\" came back as \"%2\" (%3)")
                                     .arg(describe(values.at(i)), describe(read.toString()),
                                          QString::fromLatin1(read.typeName()))));
            // The note file's own reader takes each value back as QSettings does.
            const NoteFile::Parsed note
                = NoteFile::parse(IniWriter::generalSection({entries.at(i)}), entries.at(i).first);
            if (!note.ours || note.note != values.at(i))
                QFAIL(qPrintable(QStringLiteral("\"%1\" was parsed as \"%2\"")
                                     .arg(describe(values.at(i)),
                                          describe(note.note.value_or(QStringLiteral("(none)"))))));
            // The size the model checks against the note file's limit, counted without
            // encoding; a file cut anywhere gives back a beginning of the text, never more.
            const QByteArray file = IniWriter::generalSection({entries.at(i)});
            QCOMPARE(IniWriter::encodedTextSize(values.at(i)),
                     IniWriter::encodeText(values.at(i)).size());
            for (qsizetype cut = file.indexOf('=') + 2; cut < file.size() - 1; ++cut) {
                const auto head = NoteFile::parseHead(file.left(cut), entries.at(i).first);
                if (!head || values.at(i).left(head->size()) != *head)
                    QFAIL(qPrintable(QStringLiteral("\"%1\" cut after %2 bytes came back as \"%3\"")
                                         .arg(describe(values.at(i)))
                                         .arg(cut)
                                         .arg(describe(head.value_or(QStringLiteral("(none)"))))));
            }
        }
    }

    QTemporaryDir m_dir;
    int m_files = 0;

private Q_SLOTS:
    void textComesBackAsItWas_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain") << QStringLiteral("milk and eggs");
        QTest::newRow("lines") << QStringLiteral("• milk\n• eggs\r\n3. x\r");
        QTest::newRow("commas and semicolons") << QStringLiteral("a, b; c,d ;e");
        QTest::newRow("spaces at the ends") << QStringLiteral("  both  ");
        QTest::newRow("quotes and backslashes") << QStringLiteral("\"q\" 'a' \\n \\ \\\\x41");
        QTest::newRow("leading @") << QStringLiteral("@Variant(\\0\\0)");
        QTest::newRow("leading @@") << QStringLiteral("@@x");
        QTest::newRow("typed-looking") << QStringLiteral("@ByteArray(abc)");
        QTest::newRow("ini-looking") << QStringLiteral("[General]\nnoteContent=evil\n#x\n;y");
        QTest::newRow("every control character") << [] {
            QString s;
            for (char16_t u = 0; u < 0x20; ++u)
                s += QChar(u);
            return s + QChar(0x7F);
        }();
        QTest::newRow("hex digit after control characters") << QStringLiteral("\x01"
                                                                              "a\x1f"
                                                                              "F\x7f"
                                                                              "9")
                + QChar(0) + QStringLiteral("0");
        QTest::newRow("unicode") << QStringLiteral(
            "é e\u0301 👍🏽 \u00a0\u2028\u2029 \u3000 日本");
        QTest::newRow("unpaired surrogates") << QString(QChar(0xD800)) + QStringLiteral("a")
                + QChar(0xDC00) + QStringLiteral("f") + QChar(0xDBFF);
        QTest::newRow("byte order mark and noncharacters")
            << QStringLiteral("\uFEFFx\uFFFE\uFFFF\uFDD0");
    }

    void textComesBackAsItWas()
    {
        QFETCH(QString, text);
        roundTrip({text});
    }

    // Random texts drawn from the characters the format treats specially.
    void randomTextsComeBack()
    {
        const QStringList pieces = {
            QStringLiteral("a"),      QStringLiteral("F"),    QStringLiteral("0"),
            QStringLiteral("9"),      QStringLiteral("@"),    QStringLiteral("\""),
            QStringLiteral("\\"),     QStringLiteral("'"),    QStringLiteral(","),
            QStringLiteral(";"),      QStringLiteral("="),    QStringLiteral("#"),
            QStringLiteral("["),      QStringLiteral("]"),    QStringLiteral(" "),
            QStringLiteral("\t"),     QStringLiteral("\n"),   QStringLiteral("\r"),
            QStringLiteral("x"),      QString(QChar(0)),      QStringLiteral("\x1b"),
            QStringLiteral("\x7f"),   QStringLiteral("é"),    QStringLiteral("😀"),
            QStringLiteral("\u2028"), QString(QChar(0xD83D)), QString(QChar(0xDE00)),
            QStringLiteral("\uFFFF"),
        };
        std::mt19937 random(7);
        for (int file = 0; file < 20; ++file) {
            QStringList values;
            for (int i = 0; i < 100; ++i) {
                QString text;
                const int length = std::uniform_int_distribution<int>(0, 16)(random);
                for (int j = 0; j < length; ++j)
                    text += pieces.at(
                        std::uniform_int_distribution<qsizetype>(0, pieces.size() - 1)(random));
                values << text;
            }
            roundTrip(values);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // A long note is encoded a slice at a time between events: what a slice ends with reaches
    // the next (an escape a hex digit must not extend, a surrogate pair), and the file is byte
    // for byte the one written at once.
    void aNoteEncodedInSlicesIsTheNoteEncodedAtOnce_data()
    {
        QTest::addColumn<QString>("around"); // put across the first slice's end
        QTest::newRow("surrogate pair") << QStringLiteral("😀");
        QTest::newRow("escape, then a hex digit") << QString(QChar(1)) + u'a';
        QTest::newRow("unpaired surrogate, then a digit") << QString(QChar(0xD83D)) + u'7';
        QTest::newRow("byte order mark") << QStringLiteral("\uFEFFF");
        QTest::newRow("line end and quote") << QStringLiteral("\n\"");
    }

    void aNoteEncodedInSlicesIsTheNoteEncodedAtOnce()
    {
        QFETCH(QString, around);
        const QString key = QStringLiteral("noteContent");
        for (qsizetype before = 1; before < around.size(); ++before) {
            const QString note = QStringLiteral("@")
                + QString(NoteEncoder::sliceSize - 1 - before, QLatin1Char('a')) + around
                + QString(NoteEncoder::sliceSize, QLatin1Char('b'));
            NoteEncoder encoder;
            QSignalSpy finished(&encoder, &NoteEncoder::finished);
            encoder.start(key, [&note] { return QStringView(note); });
            QTRY_COMPARE(finished.count(), 1);
            const QByteArray file = finished.first().first().toByteArray();
            QCOMPARE(file, IniWriter::generalSection({{key, note}}));
            QCOMPARE(NoteFile::parse(file, key).note, std::optional(note));
        }
    }

    // A settings file written whole reads back as QSettings itself would have written it.
    void settingsComeBackAsQSettingsWritesThem()
    {
        QVariantMap values;
        values.insert(QStringLiteral("windowOpacity"), 0.4);
        values.insert(QStringLiteral("windowWidth"), 1e300);
        values.insert(QStringLiteral("tiny"), 5e-324);
        values.insert(QStringLiteral("count"), 42);
        values.insert(QStringLiteral("autoFormatDashes"), false);
        values.insert(QStringLiteral("drawerPosition"), QStringLiteral("left"));
        values.insert(QStringLiteral("list"),
                      QStringList {QStringLiteral("a, b"), QStringLiteral("c"), QString()});
        values.insert(QStringLiteral("group/key"), QStringLiteral("in a group"));
        values.insert(QStringLiteral("group/deeper/key"), 7);
        values.insert(QStringLiteral("odd key=é;#[x] 日"), QStringLiteral("value"));
        values.insert(QStringLiteral("General"), QStringLiteral("a key named like the section"));

        const QString mine = m_dir.filePath(QStringLiteral("mine%1.conf").arg(m_files++));
        QVERIFY(AtomicFile(mine).write(IniWriter::encodeFile(values)));
        QCOMPARE(PrivateFile::problemWith(mine), QString());
        const QString theirs = m_dir.filePath(QStringLiteral("theirs%1.conf").arg(m_files++));
        {
            QSettings settings(theirs, QSettings::IniFormat);
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                settings.setValue(it.key(), it.value());
        }
        const QSettings read(mine, QSettings::IniFormat);
        const QSettings expected(theirs, QSettings::IniFormat);
        QCOMPARE(read.status(), QSettings::NoError);
        QCOMPARE(read.allKeys(), expected.allKeys());
        for (const QString &key : expected.allKeys())
            QCOMPARE(read.value(key), expected.value(key));
    }

    void replacingKeepsTheFilePrivate()
    {
        const QString path = m_dir.filePath(QStringLiteral("private.conf"));
        QVERIFY(PrivateFile::prepare(path));
        QVERIFY(AtomicFile(path).write(IniWriter::generalSection({{"k", "v"}})));
        QCOMPARE(QFile::permissions(path),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                     | QFileDevice::WriteUser);
    }
};

QTEST_GUILESS_MAIN(tst_IniWriter)
#include "tst_IniWriter.moc"
