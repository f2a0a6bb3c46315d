// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/GraphemeCounter.h"

#include <QRandomGenerator>
#include <QTest>

class tst_GraphemeCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countIn_data();
    void countIn();
    void editMatchesAFullCount_data();
    void editMatchesAFullCount();
    void editThatDoesNotFitIsCountedAfresh();
    void randomEditsMatchAFullCount();
};

void tst_GraphemeCounter::countIn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("ascii") << QStringLiteral("abc") << 3;
    QTest::newRow("combining acute") << QStringLiteral("e\u0301") << 1;
    QTest::newRow("precomposed") << QStringLiteral("\u00e9") << 1;
    QTest::newRow("emoji with skin tone") << QStringLiteral("👍🏽") << 1;
    QTest::newRow("flag") << QStringLiteral("🇩🇪") << 1;
    QTest::newRow("two flags") << QStringLiteral("🇩🇪🇫🇷") << 2;
    QTest::newRow("CR LF") << QStringLiteral("\r\n") << 1;
    QTest::newRow("LF CR") << QStringLiteral("\n\r") << 2;
    QTest::newRow("lines") << QStringLiteral("a\nb\r\nc") << 5;
}

void tst_GraphemeCounter::countIn()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(GraphemeCounter::countIn(text), qsizetype(count));
}

void tst_GraphemeCounter::editMatchesAFullCount_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("type at the end") << QStringLiteral("ab\ncd") << 5 << 0 << QStringLiteral("e");
    QTest::newRow("type into the first line")
        << QStringLiteral("ab\ncd") << 1 << 0 << QStringLiteral("x");
    QTest::newRow("accent joins the letter before")
        << QStringLiteral("cafe\nx") << 4 << 0 << QStringLiteral("\u0301");
    QTest::newRow("skin tone joins the emoji")
        << QStringLiteral("👍\n👍") << 2 << 0 << QStringLiteral("🏽");
    QTest::newRow("remove the skin tone") << QStringLiteral("a👍🏽b") << 3 << 2 << QString();
    QTest::newRow("split CR LF") << QStringLiteral("ab\r\ncd") << 3 << 0 << QStringLiteral("x");
    QTest::newRow("join CR and LF") << QStringLiteral("ab\rx\ncd") << 3 << 1 << QString();
    QTest::newRow("delete the line feed") << QStringLiteral("ab\ncd\nef") << 2 << 1 << QString();
    QTest::newRow("delete CR LF") << QStringLiteral("ab\r\ncd") << 2 << 2 << QString();
    QTest::newRow("insert a line feed") << QStringLiteral("abcd") << 2 << 0 << QStringLiteral("\n");
    QTest::newRow("insert LF after a CR")
        << QStringLiteral("ab\rcd") << 3 << 0 << QStringLiteral("\n");
    QTest::newRow("insert before a line feed")
        << QStringLiteral("ab\ncd") << 2 << 0 << QStringLiteral("e\u0301");
    QTest::newRow("insert right after a line feed")
        << QStringLiteral("ab\ncd") << 3 << 0 << QStringLiteral("\u0301");
    QTest::newRow("replace across lines")
        << QStringLiteral("one\ntwo\nthree\nfour") << 2 << 9 << QStringLiteral("X\nY\r\n🇩🇪");
    QTest::newRow("complete a flag") << QStringLiteral("x🇩\ny") << 3 << 0 << QStringLiteral("🇪");
    QTest::newRow("paste at the start")
        << QStringLiteral("tail") << 0 << 0 << QStringLiteral("head\n");
    QTest::newRow("whole note replaced")
        << QStringLiteral("old\ntext") << 0 << 8 << QStringLiteral("new");
    QTest::newRow("into an empty note") << QString() << 0 << 0 << QStringLiteral("é\n");
}

void tst_GraphemeCounter::editMatchesAFullCount()
{
    QFETCH(QString, before);
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    GraphemeCounter counter;
    counter.reset(before);
    QString after = before;
    after.replace(position, removed, inserted);

    counter.edit(after, position, removed, inserted.size());

    QCOMPARE(counter.count(), GraphemeCounter::countIn(after));
}

void tst_GraphemeCounter::editThatDoesNotFitIsCountedAfresh()
{
    GraphemeCounter counter;
    counter.reset(QStringLiteral("abc"));
    const QString other = QStringLiteral("12345\n67");
    counter.edit(other, 10, 3, 1);
    QCOMPARE(counter.count(), 8);
    counter.edit(QStringLiteral("x"), -1, 0, 0);
    QCOMPARE(counter.count(), 1);
}

void tst_GraphemeCounter::randomEditsMatchAFullCount()
{
    const QStringList pieces {"a", "\n", "\r", "\r\n", "\u0301", "👍",     "🏽",
                              "🇩", "🇪",  "é",  " ",    "• ",     "\u200d"};
    QRandomGenerator random(20240611);
    QString text;
    GraphemeCounter counter;
    counter.reset(text);
    for (int round = 0; round < 2000; ++round) {
        const qsizetype position = random.bounded(int(text.size()) + 1);
        const qsizetype removed
            = random.bounded(int(qMin<qsizetype>(4, text.size() - position)) + 1);
        QString inserted;
        const int count = random.bounded(3);
        for (int i = 0; i < count; ++i)
            inserted += pieces.at(random.bounded(int(pieces.size())));
        text.replace(position, removed, inserted);
        counter.edit(text, position, removed, inserted.size());
        QCOMPARE(counter.count(), GraphemeCounter::countIn(text));
    }
}

QTEST_MAIN(tst_GraphemeCounter)
#include "tst_GraphemeCounter.moc"
