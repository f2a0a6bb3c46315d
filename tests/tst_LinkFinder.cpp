// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/LinkFinder.h"

#include <QTest>
#include <QUrl>

namespace {
// "start-end target" for each link, to compare lists in one go.
QStringList described(const QList<LinkFinder::Link> &links)
{
    QStringList result;
    for (const LinkFinder::Link &link : links)
        result << QStringLiteral("%1-%2 %3").arg(link.start).arg(link.end).arg(link.target);
    return result;
}
} // namespace

class tst_LinkFinder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linksIn_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("links");
        auto row = [](const char *name, const QString &line, const QStringList &links) {
            QTest::newRow(name) << line << links;
        };
        row("none", QStringLiteral("milk and eggs"), {});
        row("markdown", QStringLiteral("see [docs](https://a.org/x) now"),
            {QStringLiteral("4-27 https://a.org/x")});
        row("bare", QStringLiteral("go to https://a.org/x now"),
            {QStringLiteral("6-21 https://a.org/x")});
        row("bare at both ends", QStringLiteral("http://a.org"),
            {QStringLiteral("0-12 http://a.org")});
        row("upper-case scheme", QStringLiteral("HTTPS://A.org"),
            {QStringLiteral("0-13 HTTPS://A.org")});
        row("nested brackets in the text", QStringLiteral("[a [b] c](https://a.org)"),
            {QStringLiteral("0-24 https://a.org")});
        row("image inside a link", QStringLiteral("[![i](p.png)](https://a.org)"),
            {QStringLiteral("0-28 https://a.org")});
        row("parentheses in a markdown target",
            QStringLiteral("[F](https://en.wikipedia.org/wiki/F_(band))."),
            {QStringLiteral("0-43 https://en.wikipedia.org/wiki/F_(band)")});
        row("Wikipedia address, bare", QStringLiteral("https://en.wikipedia.org/wiki/F_(band)"),
            {QStringLiteral("0-38 https://en.wikipedia.org/wiki/F_(band)")});
        row("bare address in parentheses", QStringLiteral("(see https://a.org/b_(c))"),
            {QStringLiteral("5-24 https://a.org/b_(c)")});
        row("trailing punctuation", QStringLiteral("Read https://a.org/x?y=1, then https://b.org."),
            {QStringLiteral("5-24 https://a.org/x?y=1"), QStringLiteral("31-44 https://b.org")});
        row("trailing quote and bracket", QStringLiteral("'https://a.org/x' [https://b.org]"),
            {QStringLiteral("1-16 https://a.org/x"), QStringLiteral("19-32 https://b.org")});
        row("angle brackets", QStringLiteral("<https://a.org/x>"),
            {QStringLiteral("1-16 https://a.org/x")});
        row("markdown target in angle brackets", QStringLiteral("[t](<https://a.org/a b>)"),
            {QStringLiteral("0-24 https://a.org/a b")});
        row("title after the target", QStringLiteral("[t](https://a.org \"Home\")"),
            {QStringLiteral("0-25 https://a.org")});
        row("escaped bracket in the text", QStringLiteral("[a\\]b](https://a.org)"),
            {QStringLiteral("0-21 https://a.org")});
        row("markdown wins over the address in its text",
            QStringLiteral("[https://a.org](https://b.org)"),
            {QStringLiteral("0-30 https://b.org")});
        row("mailto target", QStringLiteral("[Ann](mailto:ann@a.org)"),
            {QStringLiteral("0-23 mailto:ann@a.org")});
        row("no parenthesis after the text", QStringLiteral("[todo] https://a.org"),
            {QStringLiteral("7-20 https://a.org")});
        row("unclosed target", QStringLiteral("[t](https://a.org"),
            {QStringLiteral("4-17 https://a.org")});
        row("empty target", QStringLiteral("[t]()"), {});
        row("scheme alone", QStringLiteral("https:// and http://."), {});
        row("scheme inside a word", QStringLiteral("xhttps://a.org"), {});
        row("two markdown links", QStringLiteral("[a](u)[b](v)"),
            {QStringLiteral("0-6 u"), QStringLiteral("6-12 v")});
        row("non-ASCII around", QStringLiteral("→ https://ä.org/ü ←"),
            {QStringLiteral("2-17 https://ä.org/ü")});
    }

    void linksIn()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, links);
        QCOMPARE(described(LinkFinder::linksIn(line)), links);
    }

    // The first and last characters of a link are on it; the ones beside it are not.
    void linkAtItsEdges()
    {
        const QString line = QStringLiteral("a [b](https://a.org) c");
        QCOMPARE(LinkFinder::linkAt(line, 1), std::nullopt);
        QCOMPARE(LinkFinder::linkAt(line, 2)->target, QStringLiteral("https://a.org"));
        QCOMPARE(LinkFinder::linkAt(line, 19)->target, QStringLiteral("https://a.org"));
        QCOMPARE(LinkFinder::linkAt(line, 20), std::nullopt);
        QCOMPARE(LinkFinder::linkAt(line, -1), std::nullopt);
        QCOMPARE(LinkFinder::linkAt(line, line.size()), std::nullopt);

        // In a line of megabytes only the neighbourhood is looked at, and found.
        const QString longLine
            = QString(1 << 20, u'[') + QStringLiteral(" https://a.org ") + QString(1 << 20, u'(');
        const auto link = LinkFinder::linkAt(longLine, (1 << 20) + 3);
        QVERIFY(link);
        QCOMPARE(link->start, (1 << 20) + 1);
        QCOMPARE(link->target, QStringLiteral("https://a.org"));
    }

    void mayOpen_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("opens");
        QTest::newRow("http") << "http://a.org" << true;
        QTest::newRow("https") << "HTTPS://a.org/x" << true;
        QTest::newRow("mailto") << "mailto:ann@a.org" << true;
        QTest::newRow("file") << "file:///home/ann/list.txt" << true;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("data") << "data:text/html,<b>x</b>" << false;
        QTest::newRow("ftp") << "ftp://a.org" << false;
        QTest::newRow("relative") << "docs/readme.md" << false;
        QTest::newRow("no host") << "https:///x" << false;
        QTest::newRow("empty mailto") << "mailto:" << false;
    }

    void mayOpen()
    {
        QFETCH(QString, url);
        QFETCH(bool, opens);
        QCOMPARE(LinkFinder::mayOpen(QUrl(url, QUrl::TolerantMode)), opens);
    }
};

QTEST_GUILESS_MAIN(tst_LinkFinder)
#include "tst_LinkFinder.moc"
