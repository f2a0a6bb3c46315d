// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SliderRow.h"

#include "app/NumberFormat.h"

#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>

#include <memory>

namespace {

// A value held outside the row, with a record of every write.
struct Held
{
    explicit Held(double initial)
        : value(initial)
    { }

    double value = 0;
    QList<double> writes;
    int changes = 0;

    Binding<double> binding()
    {
        return {[this] { return value; },
                [this](const double &written) {
                    value = written;
                    writes.append(written);
                }};
    }
    std::function<void()> onChange()
    {
        return [this] { ++changes; };
    }
};

std::unique_ptr<SliderRow> makeRow(Held &held, double lower, double upper,
                                   const char *format = "%.0f px",
                                   SliderRow::Transform transform = {})
{
    auto row = std::make_unique<SliderRow>(QStringLiteral("Width"), held.binding(), lower, upper,
                                           format, std::move(transform), held.onChange());
    row->resize(300, row->sizeHint().height());
    return row;
}

double times100(double value)
{
    return value * 100;
}

QPoint handleCentre(QSlider *slider)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.subControls = QStyle::SC_All;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}

} // namespace

class tst_SliderRow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valueText_data();
    void valueText();
    void showingTheValueNeverWritesIt();
    void followsTheValueWhenItChangesElsewhere();
    void mouseDragReportsStartAndEndOnly();
    void dragBySignalsReportsStartAndEndOnly();
    void keysWriteAndReportOnce_data();
    void keysWriteAndReportOnce();
    void endsOfTheSliderAreTheEndsOfTheRange();
    void emptyOrBrokenRangeStaysSafe_data();
    void emptyOrBrokenRangeStaysSafe();
};

void tst_SliderRow::valueText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<QString>("text");

    QTest::newRow("1.0 as a percentage") << 1.0 << QByteArray("%.0f%%") << true << "100%";
    QTest::newRow("1.0 without transform") << 1.0 << QByteArray("%.0f%%") << false << "1%";
    QTest::newRow("0.85 as a percentage") << 0.85 << QByteArray("%.0f%%") << true << "85%";
    QTest::newRow("0.3 as a percentage") << 0.3 << QByteArray("%.0f%%") << true << "30%";
    QTest::newRow("pixels") << 400.0 << QByteArray("%.0f px") << false << "400 px";
    QTest::newRow("pixels round half to even")
        << 812.5 << QByteArray("%.0f px") << false << "812 px";
    QTest::newRow("out of range shown as it is") << 1.4 << QByteArray("%.0f%%") << true << "140%";
}

void tst_SliderRow::valueText()
{
    QFETCH(double, value);
    QFETCH(QByteArray, format);
    QFETCH(bool, percent);
    QFETCH(QString, text);
    Held held(value);
    auto row = makeRow(held, 0.3, 1.0, format.constData(),
                       percent ? SliderRow::Transform(times100) : SliderRow::Transform());
    QCOMPARE(row->valueText(), text);
}

void tst_SliderRow::showingTheValueNeverWritesIt()
{
    Held held(1.4);
    auto row = makeRow(held, 0.3, 1.0, "%.0f%%", times100);
    row->show();
    row->refresh();
    row->setRange(0.3, 0.9);
    QVERIFY(held.writes.isEmpty());
    QCOMPARE(held.changes, 0);
    QCOMPARE(held.value, 1.4);
    QCOMPARE(row->valueText(), QStringLiteral("140%"));
    QCOMPARE(row->slider()->value(), SliderRow::steps);
}

void tst_SliderRow::followsTheValueWhenItChangesElsewhere()
{
    Held held(400);
    auto row = makeRow(held, 300, 1300);
    QCOMPARE(row->slider()->value(), SliderRow::steps / 10);
    held.value = 800;
    row->refresh();
    QCOMPARE(row->valueText(), QStringLiteral("800 px"));
    QCOMPARE(row->slider()->value(), SliderRow::steps / 2);
    QVERIFY(held.writes.isEmpty());
    QCOMPARE(held.changes, 0);
}

void tst_SliderRow::mouseDragReportsStartAndEndOnly()
{
    Held held(400);
    auto row = makeRow(held, 300, 1300);
    row->show();
    QVERIFY(QTest::qWaitForWindowExposed(row.get()));
    QSlider *slider = row->slider();
    const QPoint start = handleCentre(slider);

    QTest::mousePress(slider, Qt::LeftButton, {}, start);
    QVERIFY(slider->isSliderDown());
    QCOMPARE(held.changes, 1);
    for (int step = 1; step <= 5; ++step)
        QTest::mouseMove(slider, start + QPoint(step * 15, 0));
    QCOMPARE(held.changes, 1);
    QVERIFY(held.writes.size() >= 3);
    QVERIFY(held.value > 400);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, start + QPoint(75, 0));

    QCOMPARE(held.changes, 2);
    QCOMPARE(row->valueText(), NumberFormat::printf("%.0f px", held.value));
}

void tst_SliderRow::dragBySignalsReportsStartAndEndOnly()
{
    Held held(400);
    auto row = makeRow(held, 300, 1300);
    QSlider *slider = row->slider();

    slider->setSliderDown(true);
    QCOMPARE(held.changes, 1);
    for (int position : {1200, 1500, 2500, 4000, 5000})
        slider->setSliderPosition(position);
    QCOMPARE(held.changes, 1);
    QCOMPARE(held.writes.size(), 5);
    QCOMPARE(held.value, 800.0);
    QCOMPARE(row->valueText(), QStringLiteral("800 px"));
    slider->setSliderDown(false);
    QCOMPARE(held.changes, 2);
}

void tst_SliderRow::keysWriteAndReportOnce_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("expected");
    QTest::newRow("right arrow: one hundredth") << int(Qt::Key_Right) << 410.0;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << 390.0;
    QTest::newRow("page up: one tenth") << int(Qt::Key_PageUp) << 500.0;
    QTest::newRow("end") << int(Qt::Key_End) << 1300.0;
    QTest::newRow("home") << int(Qt::Key_Home) << 300.0;
}

void tst_SliderRow::keysWriteAndReportOnce()
{
    QFETCH(int, key);
    QFETCH(double, expected);
    Held held(400);
    auto row = makeRow(held, 300, 1300);

    QTest::keyClick(row->slider(), Qt::Key(key));

    QCOMPARE(held.changes, 1);
    QCOMPARE(held.writes.size(), 1);
    QCOMPARE(held.value, expected);
}

void tst_SliderRow::endsOfTheSliderAreTheEndsOfTheRange()
{
    Held held(0.5);
    auto row = makeRow(held, 0.3, 1.0, "%.0f%%", times100);
    row->slider()->setValue(SliderRow::steps);
    QCOMPARE(held.value, 1.0);
    QCOMPARE(row->valueText(), QStringLiteral("100%"));
    row->slider()->setValue(0);
    QCOMPARE(held.value, 0.3);
    QCOMPARE(row->valueText(), QStringLiteral("30%"));
}

void tst_SliderRow::emptyOrBrokenRangeStaysSafe_data()
{
    QTest::addColumn<double>("upper");
    QTest::newRow("upper below lower") << 250.0;
    QTest::newRow("upper equal to lower") << 300.0;
    QTest::newRow("upper not a number") << qQNaN();
    QTest::newRow("upper infinite") << qInf();
}

void tst_SliderRow::emptyOrBrokenRangeStaysSafe()
{
    QFETCH(double, upper);
    Held held(400);
    auto row = makeRow(held, 300, upper);
    QCOMPARE(row->lower(), 300.0);
    QCOMPARE(row->upper(), 300.0);
    QCOMPARE(row->valueText(), QStringLiteral("400 px"));
    QVERIFY(held.writes.isEmpty());

    QTest::keyClick(row->slider(), Qt::Key_End);
    QTest::keyClick(row->slider(), Qt::Key_Home);
    for (double written : std::as_const(held.writes))
        QCOMPARE(written, 300.0);
}

QTEST_MAIN(tst_SliderRow)
#include "tst_SliderRow.moc"
