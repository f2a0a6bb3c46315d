// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ClickCheckBox.h"
#include "TestAppState.h"

#include "geometry/DrawerGeometry.h"
#include "settings/AppearanceTab.h"
#include "settings/ColorWell.h"
#include "settings/SliderRow.h"

#include <QColorDialog>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

namespace {

// Drags \a row's slider from its place through \a positions and lets go.
void drag(SliderRow *row, std::initializer_list<int> positions)
{
    QSlider *slider = row->slider();
    slider->setSliderDown(true);
    for (int position : positions)
        slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

} // namespace

class tst_AppearanceTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheDefaults();
    void loadedOpacityIsNotWrittenBack();
    void widthDragAppliesTheSizeAtStartAndEnd();
    void heightByKeyAppliesTheSizeOnce();
    void opacityDragAppliesTheOpacity();
    void followsTheModelFromElsewhere();
    void smallScreenKeepsTheRangeValid();
    void manualMarginsSwitchAppliesTheMargins();
    void marginsSliderWritesAndClamps();
    void automaticMarginsAreTruncated_data();
    void automaticMarginsAreTruncated();
    void customColorsSwitchShowsTheWells();
    void colorWellWritesTheChosenColor();
};

void tst_AppearanceTab::showsTheDefaults()
{
    TestAppState t;
    AppState &state = t.start();
    AppearanceTab tab(state);
    tab.show();

    QCOMPARE(tab.widthRow()->title(), QStringLiteral("Width"));
    QCOMPARE(tab.widthRow()->valueText(), QStringLiteral("400 px"));
    QCOMPARE(tab.heightRow()->valueText(), QStringLiteral("600 px"));
    QCOMPARE(tab.opacityRow()->valueText(), QStringLiteral("100%"));
    QCOMPARE(tab.widthRow()->lower(), 300.0);
    QCOMPARE(tab.widthRow()->upper(), 1440.0);
    QCOMPARE(tab.heightRow()->lower(), 200.0);
    QCOMPARE(tab.heightRow()->upper(), 800.0);
    QCOMPARE(tab.manualMarginsBox()->text(), QStringLiteral("Use manual margins"));
    QVERIFY(!tab.manualMarginsBox()->isChecked());
    QVERIFY(tab.automaticMarginsPanel()->isVisible());
    QVERIFY(!tab.marginsRow()->isVisible());
    QCOMPARE(tab.currentMarginsText(), QStringLiteral("22px"));
    QCOMPARE(tab.customColorsBox()->text(), QStringLiteral("Use custom colors"));
    QVERIFY(!tab.colorRows()->isVisible());
}

void tst_AppearanceTab::loadedOpacityIsNotWrittenBack()
{
    TestAppState t;
    t.seed(QStringLiteral("windowOpacity"), 1.4);
    AppState &state = t.start();
    QCOMPARE(state.windowOpacity(), 1.4);
    QSignalSpy opacity(&state, &AppState::windowOpacityChanged);
    QSignalSpy margins(&state, &AppState::manualMarginsChanged);
    QSignalSpy width(&state, &AppState::windowWidthChanged);

    AppearanceTab tab(state);
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));

    QCOMPARE(opacity.count(), 0);
    QCOMPARE(margins.count(), 0);
    QCOMPARE(width.count(), 0);
    QCOMPARE(state.windowOpacity(), 1.4);
    QCOMPARE(tab.opacityRow()->valueText(), QStringLiteral("140%"));
}

void tst_AppearanceTab::widthDragAppliesTheSizeAtStartAndEnd()
{
    TestAppState t;
    AppState &state = t.start();
    AppearanceTab tab(state);
    QSignalSpy sizes(&state, &AppState::windowSizeChanged);
    QSignalSpy widths(&state, &AppState::windowWidthChanged);
    QSlider *slider = tab.widthRow()->slider();

    slider->setSliderDown(true);
    QCOMPARE(sizes.count(), 1);
    for (int position : {1000, 2000, 3000, 5000})
        slider->setSliderPosition(position);
    QCOMPARE(state.windowWidth(), 870.0);
    QCOMPARE(tab.widthRow()->valueText(), QStringLiteral("870 px"));
    QCOMPARE(sizes.count(), 1);
    QCOMPARE(state.windowSize().width(), 400.0);
    QVERIFY(widths.count() >= 4);
    slider->setSliderDown(false);

    QCOMPARE(sizes.count(), 2);
    QCOMPARE(state.windowSize(), QSizeF(870, 600));
    QCOMPARE(state.currentMargins(), DrawerGeometry::automaticMargins(870));
    QTRY_COMPARE(t.stored(QStringLiteral("windowWidth")).toDouble(), 870.0);
}

void tst_AppearanceTab::heightByKeyAppliesTheSizeOnce()
{
    TestAppState t;
    AppState &state = t.start();
    AppearanceTab tab(state);
    QSignalSpy sizes(&state, &AppState::windowSizeChanged);

    QTest::keyClick(tab.heightRow()->slider(), Qt::Key_Right);

    // One hundredth of the range, give or take the slider's resolution.
    QVERIFY2(qAbs(state.windowHeight() - 606) < 0.1,
             qPrintable(QString::number(state.windowHeight())));
    QCOMPARE(sizes.count(), 1);
    QCOMPARE(state.windowSize(), QSizeF(400, state.windowHeight()));
}

void tst_AppearanceTab::opacityDragAppliesTheOpacity()
{
    TestAppState t;
    AppState &state = t.start();
    state.setWindowOpacity(1.4);
    AppearanceTab tab(state);
    QSignalSpy opacity(&state, &AppState::windowOpacityChanged);

    drag(tab.opacityRow(), {9000, 5000});

    // Two moves, and the drawer's clamp at the start (1.4 becomes 1.0) and at the end.
    QCOMPARE(opacity.count(), 4);
    QCOMPARE(opacity.at(0).at(0).toDouble(), 1.0);
    QCOMPARE(state.windowOpacity(), 0.65);
    QCOMPARE(tab.opacityRow()->valueText(), QStringLiteral("65%"));
}

void tst_AppearanceTab::followsTheModelFromElsewhere()
{
    TestAppState t;
    AppState &state = t.start();
    AppearanceTab tab(state);
    tab.show();

    state.setWindowWidth(812.9);
    state.setWindowHeight(250);
    state.setWindowOpacity(0.35);
    state.setManualMargins(42);
    state.setUseManualMargins(true);
    state.setUseCustomColors(true);

    QCOMPARE(tab.widthRow()->valueText(), QStringLiteral("813 px"));
    QCOMPARE(tab.widthRow()->slider()->value(), qRound((812.9 - 300) / 1140 * SliderRow::steps));
    QCOMPARE(tab.heightRow()->valueText(), QStringLiteral("250 px"));
    QCOMPARE(tab.opacityRow()->valueText(), QStringLiteral("35%"));
    QVERIFY(tab.manualMarginsBox()->isChecked());
    QVERIFY(tab.marginsRow()->isVisible());
    QCOMPARE(tab.marginsRow()->valueText(), QStringLiteral("42 px"));
    QVERIFY(tab.customColorsBox()->isChecked());
    QVERIFY(tab.colorRows()->isVisible());

    state.setMaxWindowWidth(1000);
    QCOMPARE(tab.widthRow()->upper(), 1000.0);
}

void tst_AppearanceTab::smallScreenKeepsTheRangeValid()
{
    TestAppState t;
    t.screens = std::make_shared<FixedScreenSource>(QRectF(0, 0, 280, 190), QRectF(0, 0, 250, 150));
    AppState &state = t.start();
    QCOMPARE(state.maxWindowWidth(), 250.0);
    AppearanceTab tab(state);
    QCOMPARE(tab.widthRow()->lower(), 300.0);
    QCOMPARE(tab.widthRow()->upper(), 300.0);
    QCOMPARE(tab.heightRow()->upper(), 200.0);
    QCOMPARE(tab.widthRow()->valueText(), QStringLiteral("400 px"));

    QTest::keyClick(tab.widthRow()->slider(), Qt::Key_End);
    QCOMPARE(state.windowWidth(), 300.0);
    state.setMaxWindowWidth(-5);
    QCOMPARE(tab.widthRow()->upper(), 300.0);
}

void tst_AppearanceTab::manualMarginsSwitchAppliesTheMargins()
{
    TestAppState t;
    AppState &state = t.start();
    state.setManualMargins(500);
    AppearanceTab tab(state);
    tab.show();
    const double automatic = DrawerGeometry::automaticMargins(400);
    QCOMPARE(state.currentMargins(), automatic);

    clickCheckBox(tab.manualMarginsBox());

    QVERIFY(state.useManualMargins());
    QVERIFY(tab.marginsRow()->isVisible());
    QVERIFY(!tab.automaticMarginsPanel()->isVisible());
    // The switch applied the margins: the manual margin, clamped to 300, is in effect.
    QCOMPARE(state.manualMargins(), 300.0);
    QCOMPARE(state.currentMargins(), 300.0);

    clickCheckBox(tab.manualMarginsBox());
    QVERIFY(!state.useManualMargins());
    QVERIFY(tab.automaticMarginsPanel()->isVisible());
    QCOMPARE(state.currentMargins(), automatic);

    // A reset switches back through the model, and the margins follow as well.
    clickCheckBox(tab.manualMarginsBox());
    QCOMPARE(state.currentMargins(), 300.0);
    state.setUseManualMargins(false);
    QCOMPARE(state.currentMargins(), automatic);
    QVERIFY(!tab.manualMarginsBox()->isChecked());
}

void tst_AppearanceTab::marginsSliderWritesAndClamps()
{
    TestAppState t;
    AppState &state = t.start();
    state.setUseManualMargins(true);
    state.updateMarginsRealTime();
    AppearanceTab tab(state);
    QCOMPARE(tab.marginsRow()->lower(), 10.0);
    QCOMPARE(tab.marginsRow()->upper(), 300.0);
    QSignalSpy current(&state, &AppState::currentMarginsChanged);

    drag(tab.marginsRow(), {SliderRow::steps / 2});

    QCOMPARE(state.manualMargins(), 155.0);
    QCOMPARE(state.currentMargins(), 155.0);
    QCOMPARE(current.count(), 2);
    QCOMPARE(tab.marginsRow()->valueText(), QStringLiteral("155 px"));
}

void tst_AppearanceTab::automaticMarginsAreTruncated_data()
{
    QTest::addColumn<double>("margins");
    QTest::addColumn<QString>("text");
    QTest::newRow("27.9") << 27.9 << "27px";
    QTest::newRow("20.9") << 20.9 << "20px";
    QTest::newRow("20") << 20.0 << "20px";
    QTest::newRow("huge") << 1e20 << "100000000000000000000px";
}

void tst_AppearanceTab::automaticMarginsAreTruncated()
{
    QFETCH(double, margins);
    QFETCH(QString, text);
    TestAppState t;
    AppState &state = t.start();
    AppearanceTab tab(state);
    state.setCurrentMargins(margins);
    QCOMPARE(tab.currentMarginsText(), text);
}

void tst_AppearanceTab::customColorsSwitchShowsTheWells()
{
    TestAppState t;
    AppState &state = t.start();
    AppearanceTab tab(state);
    tab.show();
    const QColor background = state.backgroundColor();
    const QColor text = state.textColor();

    clickCheckBox(tab.customColorsBox());
    QVERIFY(state.useCustomColors());
    QVERIFY(tab.colorRows()->isVisible());
    QCOMPARE(tab.backgroundWell()->color(), background);
    QCOMPARE(tab.textColorWell()->color(), text);
    QTRY_COMPARE(t.stored(QStringLiteral("useCustomColors")).toBool(), true);

    clickCheckBox(tab.customColorsBox());
    QVERIFY(!state.useCustomColors());
    QVERIFY(!tab.colorRows()->isVisible());
    QCOMPARE(state.backgroundColor(), background);
    QCOMPARE(state.textColor(), text);
}

void tst_AppearanceTab::colorWellWritesTheChosenColor()
{
    TestAppState t;
    AppState &state = t.start();
    state.setUseCustomColors(true);
    AppearanceTab tab(state);
    tab.show();
    QSignalSpy colors(&state, &AppState::backgroundColorChanged);

    QTest::mouseClick(tab.backgroundWell(), Qt::LeftButton);
    QColorDialog *dialog = tab.backgroundWell()->dialog();
    QVERIFY(dialog);
    QVERIFY(dialog->testOption(QColorDialog::ShowAlphaChannel));
    QCOMPARE(dialog->currentColor().rgba(), QColor::fromRgbF(0, 0, 0, 0.3f).rgba());
    const QColor chosen(10, 120, 200, 128);
    dialog->setCurrentColor(chosen);
    QCOMPARE(colors.count(), 0);
    dialog->accept();

    QCOMPARE(colors.count(), 1);
    QCOMPARE(state.backgroundColor(), chosen);
    QCOMPARE(state.textColor(), QColor(Qt::white));

    // A cancelled dialog changes nothing.
    QTest::mouseClick(tab.textColorWell(), Qt::LeftButton);
    QVERIFY(tab.textColorWell()->dialog());
    tab.textColorWell()->dialog()->setCurrentColor(Qt::red);
    tab.textColorWell()->dialog()->reject();
    QCOMPARE(state.textColor(), QColor(Qt::white));
}

QTEST_MAIN(tst_AppearanceTab)
#include "tst_AppearanceTab.moc"
