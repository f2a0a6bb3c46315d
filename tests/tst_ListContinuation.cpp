// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DescribeText.h"
#include "ListContinuationReference.h"

#include "text/ListContinuation.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <random>

using namespace ListContinuation;

namespace {

QString asText(const std::optional<QString> &marker)
{
    return marker ? QStringLiteral("\"%1\"").arg(*marker) : QStringLiteral("nothing");
}

const QStringList newlines
    = {QStringLiteral("\n"),    QStringLiteral("\x0B"),   QStringLiteral("\x0C"),
       QStringLiteral("\r"),    QStringLiteral("\u0085"), QStringLiteral("\u2028"),
       QStringLiteral("\u2029")};

} // namespace

class tst_ListContinuation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An empty expected marker stands for "nothing".
    void nextFormattedLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("marker");

        QTest::newRow("bullet") << QStringLiteral("• milk") << QStringLiteral("• ");
        QTest::newRow("dash") << QStringLiteral("- milk") << QStringLiteral("- ");
        QTest::newRow("asterisk") << QStringLiteral("* milk") << QStringLiteral("* ");
        QTest::newRow("bullet marker with several spaces")
            << QStringLiteral("•   milk") << QStringLiteral("• ");
        QTest::newRow("number 1") << QStringLiteral("1. milk") << QStringLiteral("2. ");
        QTest::newRow("number 9") << QStringLiteral("9. milk") << QStringLiteral("10. ");
        QTest::newRow("leading zeros 007") << QStringLiteral("007. milk") << QStringLiteral("8. ");
        QTest::newRow("zero") << QStringLiteral("0. milk") << QStringLiteral("1. ");
        QTest::newRow("many leading zeros")
            << QStringLiteral("0000000000000000000000000000042. x") << QStringLiteral("43. ");

        QTest::newRow("empty bullet item") << QStringLiteral("• ") << QString();
        QTest::newRow("empty dash item") << QStringLiteral("- ") << QString();
        QTest::newRow("empty asterisk item") << QStringLiteral("* ") << QString();
        QTest::newRow("empty numbered item") << QStringLiteral("1. ") << QString();
        QTest::newRow("bullet and spaces only") << QStringLiteral("•     ") << QString();
        QTest::newRow("dash and tab and spaces") << QStringLiteral("-\t  ") << QString();
        QTest::newRow("number and no-break spaces")
            << QStringLiteral("3.\u00A0\u00A0") << QString();
        QTest::newRow("empty line") << QString() << QString();
        QTest::newRow("white space only") << QStringLiteral(" \t\u3000 ") << QString();
        QTest::newRow("plain text") << QStringLiteral("milk") << QString();

        QTest::newRow("indented dash") << QStringLiteral("    - milk") << QStringLiteral("- ");
        QTest::newRow("tab-indented bullet") << QStringLiteral("\t• milk") << QStringLiteral("• ");
        QTest::newRow("indented number") << QStringLiteral("  12. milk") << QStringLiteral("13. ");
        QTest::newRow("ideographic space trimmed")
            << QStringLiteral("\u3000* milk\u3000") << QStringLiteral("* ");
        QTest::newRow("no-break space trimmed")
            << QStringLiteral("\u00A0\u00A04. milk\u00A0") << QStringLiteral("5. ");
        QTest::newRow("other space separators trimmed")
            << QStringLiteral("\u2003\u202F\u205F- milk\u1680") << QStringLiteral("- ");
        QTest::newRow("zero-width space is no space")
            << QStringLiteral("\u200B- milk") << QString();

        QTest::newRow("bullet then letter") << QStringLiteral("•milk") << QString();
        QTest::newRow("dash then letter") << QStringLiteral("-milk") << QString();
        QTest::newRow("asterisk then letter") << QStringLiteral("*milk") << QString();
        QTest::newRow("bullet then tab") << QStringLiteral("•\tmilk") << QString();
        QTest::newRow("dash then tab") << QStringLiteral("-\tmilk") << QString();
        QTest::newRow("asterisk then no-break space") << QStringLiteral("*\u00A0milk") << QString();
        QTest::newRow("dash then ideographic space") << QStringLiteral("-\u3000milk") << QString();
        QTest::newRow("negative number") << QStringLiteral("-1. milk") << QString();

        QTest::newRow("number then letter") << QStringLiteral("1.milk") << QString();
        QTest::newRow("number then tab") << QStringLiteral("1.\tmilk") << QStringLiteral("2. ");
        QTest::newRow("number then no-break space")
            << QStringLiteral("6.\u00A0milk") << QStringLiteral("7. ");
        QTest::newRow("number then ideographic space")
            << QStringLiteral("6.\u3000milk") << QStringLiteral("7. ");
        QTest::newRow("decimal number") << QStringLiteral("1.5 kg") << QString();
        QTest::newRow("number and parenthesis") << QStringLiteral("3) milk") << QString();
        QTest::newRow("number without full stop") << QStringLiteral("3 milk") << QString();
        QTest::newRow("space before full stop") << QStringLiteral("3 . milk") << QString();
        QTest::newRow("two full stops") << QStringLiteral("3.. milk") << QString();
        QTest::newRow("number then emoji") << QStringLiteral("3.😀 milk") << QString();
        QTest::newRow("full stop only") << QStringLiteral(". milk") << QString();
        QTest::newRow("number not at the start") << QStringLiteral("a1. milk") << QString();

        QTest::newRow("number then lone surrogate")
            << QStringLiteral("1.") + QChar(0xD800) << QString();
        QTest::newRow("lone surrogate after the item")
            << QStringLiteral("1. milk") + QChar(0xDC00) << QStringLiteral("2. ");
        QTest::newRow("lone surrogate among digits")
            << QStringLiteral("1") + QChar(0xD800) + QStringLiteral("2. milk") << QString();

        QTest::newRow("Arabic-Indic digit") << QStringLiteral("\u0663. milk") << QString();
        QTest::newRow("ASCII and Arabic-Indic digits")
            << QStringLiteral("1\u0663. milk") << QString();
        QTest::newRow("fullwidth digit") << QStringLiteral("\uFF11. milk") << QString();
        QTest::newRow("mathematical digit (outside the BMP)")
            << QStringLiteral("𝟏. milk") << QString();

        QTest::newRow("largest but one")
            << QStringLiteral("9223372036854775806. x") << QStringLiteral("9223372036854775807. ");
        QTest::newRow("largest 64-bit number")
            << QStringLiteral("9223372036854775807. x") << QString();
        QTest::newRow("one past the largest")
            << QStringLiteral("9223372036854775808. x") << QString();
        QTest::newRow("far past the largest")
            << QStringLiteral("99999999999999999999. x") << QString();
        QTest::newRow("largest with leading zeros") << QStringLiteral("009223372036854775806. x")
                                                    << QStringLiteral("9223372036854775807. ");
    }

    void nextFormattedLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, marker);
        const std::optional<QString> result = getNextFormattedLine(line);
        QCOMPARE(asText(result), asText(marker.isEmpty() ? std::nullopt : std::optional(marker)));
    }

    void markerToAppend_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("marker");

        QTest::newRow("bullet and line break")
            << QStringLiteral("• milk\n") << QStringLiteral("• ");
        QTest::newRow("second item") << QStringLiteral("• milk\n• eggs\n") << QStringLiteral("• ");
        QTest::newRow("numbered after text")
            << QStringLiteral("Shopping\n9. milk\n") << QStringLiteral("10. ");
        QTest::newRow("indented dash") << QStringLiteral("    - milk\n") << QStringLiteral("- ");
        QTest::newRow("empty item ends the list") << QStringLiteral("• milk\n• \n") << QString();
        QTest::newRow("after the list ended") << QStringLiteral("• milk\n• \n\n") << QString();
        QTest::newRow("empty note") << QString() << QString();
        QTest::newRow("no newline") << QStringLiteral("• milk") << QString();
        QTest::newRow("newline only") << QStringLiteral("\n") << QString();
        QTest::newRow("newline in the middle") << QStringLiteral("• milk\nand eggs") << QString();
        QTest::newRow("marker already there") << QStringLiteral("• milk\n• ") << QString();
        QTest::newRow("CR LF") << QStringLiteral("• milk\r\n") << QString();
        QTest::newRow("LF CR") << QStringLiteral("1. milk\n\r") << QString();
        QTest::newRow("list item earlier, plain line last")
            << QStringLiteral("• milk\nplain\n") << QString();
        QTest::newRow("trailing spaces after the newline")
            << QStringLiteral("• milk\n  ") << QString();
        for (const QString &newline : newlines) {
            const QByteArray name = "separated by U+"
                + QByteArray::number(newline.at(0).unicode(), 16).rightJustified(4, '0');
            QTest::newRow(name + " (bullet)")
                << QStringLiteral("• milk") + newline << QStringLiteral("• ");
            QTest::newRow(name + " (number after a line)") << QStringLiteral("x") + newline
                    + QStringLiteral("2. milk") + newline << QStringLiteral("3. ");
            QTest::newRow(name + " (ends the line before)") << QStringLiteral("- milk") + newline
                    + QStringLiteral("plain") + newline << QString();
        }
    }

    void markerToAppend()
    {
        QFETCH(QString, text);
        QFETCH(QString, marker);
        const std::optional<QString> expected
            = marker.isEmpty() ? std::nullopt : std::optional(marker);
        QCOMPARE(asText(ListContinuation::markerToAppend(text)), asText(expected));
        QCOMPARE(asText(ListContinuationReference::marker(text)), asText(expected));
    }

    // Random notes made of markers, digits of several scripts, every newline character, spaces
    // of several kinds, letters and emoji: the last-two-lines search, also over a note that an
    // edit has yet to change, must decide exactly as splitting the whole note does.
    // JOTSHELF_STRESS=1 runs a million notes instead.
    void markerToAppendAgreesWithWholeSplit()
    {
        const int count = qEnvironmentVariableIntValue("JOTSHELF_STRESS") == 1 ? 1'000'000 : 20'000;
        const QStringList pieces = {
            QStringLiteral("• "),
            QStringLiteral("- "),
            QStringLiteral("* "),
            QStringLiteral("•"),
            QStringLiteral("-"),
            QStringLiteral("*"),
            QStringLiteral("."),
            QStringLiteral(". "),
            QStringLiteral(")"),
            QStringLiteral("0"),
            QStringLiteral("1"),
            QStringLiteral("7"),
            QStringLiteral("9"),
            QStringLiteral("007"),
            QStringLiteral("42. "),
            QStringLiteral("9223372036854775806"),
            QStringLiteral("9223372036854775807"),
            QStringLiteral("9223372036854775808"),
            QStringLiteral("\u0663"),
            QStringLiteral("\uFF11"),
            QStringLiteral("𝟏"),
            QStringLiteral(" "),
            QStringLiteral("\t"),
            QStringLiteral("\u00A0"),
            QStringLiteral("\u3000"),
            QStringLiteral("a"),
            QStringLiteral("milk"),
            QStringLiteral("😀"),
        };
        std::mt19937 random(20240611);
        auto pick = [&random](const QStringList &from) {
            return from.at(std::uniform_int_distribution<qsizetype>(0, from.size() - 1)(random));
        };
        auto chance = [&random](int percent) {
            return std::uniform_int_distribution<int>(0, 99)(random) < percent;
        };

        int markers = 0;
        int numbered = 0;
        for (int i = 0; i < count; ++i) {
            QString text;
            const int length = std::uniform_int_distribution<int>(0, 12)(random);
            for (int j = 0; j < length; ++j)
                text += chance(20) ? pick(newlines) : pick(pieces);
            if (chance(60))
                text += pick(newlines);

            const std::optional<QString> fast = ListContinuation::markerToAppend(text);
            const std::optional<QString> slow = ListContinuationReference::marker(text);
            if (fast != slow)
                QFAIL(qPrintable(QStringLiteral("note %1 \"%2\": %3, expected %4")
                                     .arg(i)
                                     .arg(describe(text), asText(fast), asText(slow))));
            // The same text as the result of an edit that replaced a piece of it.
            const auto cut = [&random, &text] {
                return std::uniform_int_distribution<qsizetype>(0, text.size())(random);
            };
            const qsizetype from = cut();
            const qsizetype to = std::max(from, cut());
            const QString replaced = pick(pieces);
            const QString before = text.first(from) + replaced + text.sliced(to);
            if (ListContinuation::markerAfterEdit(before, from, replaced.size(),
                                                  QStringView(text).sliced(from, to - from))
                != fast)
                QFAIL(qPrintable(QStringLiteral("note %1 \"%2\" as an edit of %3 at %4")
                                     .arg(i)
                                     .arg(describe(text), describe(before))
                                     .arg(from)));
            if (fast) {
                ++markers;
                if (fast->endsWith(QLatin1String(". ")))
                    ++numbered;
            }
        }
        // The drawn notes must reach the interesting branches, not only the plain ones.
        QVERIFY2(markers > count / 50, qPrintable(QString::number(markers)));
        QVERIFY2(numbered > count / 500, qPrintable(QString::number(numbered)));
    }
};

QTEST_GUILESS_MAIN(tst_ListContinuation)
#include "tst_ListContinuation.moc"
