// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/NumberFormat.h"

#include <QTest>

#include <cmath>
#include <limits>

class tst_NumberFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortestReadsBackAndShowsAFraction_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 520.0 << "520.0";
        QTest::newRow("negative whole") << -700.0 << "-700.0";
        QTest::newRow("half") << 137.5 << "137.5";
        QTest::newRow("margins at 400") << 10 * std::log(400.0 / 300) + 20 << "22.87682072451781";
        QTest::newRow("zero") << 0.0 << "0.0";
        QTest::newRow("negative zero") << -0.0 << "-0.0";
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("sum with a tail") << 0.1 + 0.2 << "0.30000000000000004";
        QTest::newRow("large") << 1e16 << "1e+16";
        QTest::newRow("just below large") << 1234567890123456.0 << "1234567890123456.0";
        QTest::newRow("tiny") << 0.00001 << "1e-05";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "inf";
    }

    void shortestReadsBackAndShowsAFraction()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberFormat::shortest(value), text);
        if (std::isfinite(value))
            QCOMPARE(text.toDouble(), value);
    }

    void rectangleForm()
    {
        QCOMPARE(NumberFormat::rect(QRectF(1540, 175, 400, 600)), "(1540.0, 175.0, 400.0, 600.0)");
        QCOMPARE(NumberFormat::rect(QRectF(-500, 137.5, 401, 600)),
                 "(-500.0, 137.5, 401.0, 600.0)");
    }

    void printfStyle_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("px") << "%.0f px" << 400.0 << "400 px";
        QTest::newRow("percent") << "%.0f%%" << 85.0 << "85%";
        QTest::newRow("one decimal") << "%.1f%%" << 35.0 << "35.0%";
        QTest::newRow("rounds half to even") << "%.0f px" << 400.5 << "400 px";
    }

    void printfStyle()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberFormat::printf(format.toLatin1().constData(), value), text);
    }

    void wholeNumberTruncatesTowardZero_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("599.7") << 599.7 << "599";
        QTest::newRow("812.9") << 812.9 << "812";
        QTest::newRow("22.87") << 22.87 << "22";
        QTest::newRow("-3.9") << -3.9 << "-3";
        QTest::newRow("-0.5 is 0") << -0.5 << "0";
        QTest::newRow("beyond 64 bits") << 1e20 << "100000000000000000000";
    }

    void wholeNumberTruncatesTowardZero()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberFormat::wholeNumber(value), text);
    }
};

QTEST_GUILESS_MAIN(tst_NumberFormat)
#include "tst_NumberFormat.moc"
