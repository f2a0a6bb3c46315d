// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestAppState.h"

#include "drawer/BorderlessWindow.h"
#include "drawer/DrawerController.h"
#include "settings/AppearanceTab.h"
#include "settings/SliderRow.h"

#include <QAccessible>
#include <QSlider>

#include <QTest>

namespace {
QStringList slideInLines(const char *edge, const char *start, const char *final)
{
    return {QStringLiteral("🔄 Animating IN from %1:").arg(QLatin1String(edge)),
            QStringLiteral("   Start: ") + QLatin1String(start),
            QStringLiteral("   Final: ") + QLatin1String(final),
            QStringLiteral("   Slide animation started!")};
}
} // namespace

class tst_DrawerController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slideLinesAndFramesForEachEdge_data()
    {
        QTest::addColumn<DrawerPosition>("edge");
        QTest::addColumn<QStringList>("inLines");
        QTest::addColumn<QRect>("resting");
        QTest::addColumn<QStringList>("outLines");
        QTest::newRow("right") << DrawerPosition::Right
                               << slideInLines("right", "(1540.0, 175.0, 400.0, 600.0)",
                                               "(1040.0, 175.0, 400.0, 600.0)")
                               << QRect(1040, 125, 400, 600)
                               << QStringList({"🔄 Animating OUT to right:",
                                               "   Current: (1040.0, 175.0, 400.0, 600.0)",
                                               "   End: (1490.0, 175.0, 400.0, 600.0)"});
        QTest::newRow("top")
            << DrawerPosition::Top
            << slideInLines("top", "(520.0, 1000.0, 400.0, 600.0)", "(520.0, 275.0, 400.0, 600.0)")
            << QRect(520, 25, 400, 600)
            << QStringList({"🔄 Animating OUT to top:", "   Current: (520.0, 275.0, 400.0, 600.0)",
                            "   End: (520.0, 950.0, 400.0, 600.0)"});
        QTest::newRow("bottom") << DrawerPosition::Bottom
                                << slideInLines("bottom", "(520.0, -700.0, 400.0, 600.0)",
                                                "(520.0, 75.0, 400.0, 600.0)")
                                << QRect(520, 225, 400, 600)
                                << QStringList({"🔄 Animating OUT to bottom:",
                                                "   Current: (520.0, 75.0, 400.0, 600.0)",
                                                "   End: (520.0, -650.0, 400.0, 600.0)"});
        QTest::newRow("left")
            << DrawerPosition::Left
            << slideInLines("left", "(-500.0, 175.0, 400.0, 600.0)", "(0.0, 175.0, 400.0, 600.0)")
            << QRect(0, 125, 400, 600)
            << QStringList({"🔄 Animating OUT to left:", "   Current: (0.0, 175.0, 400.0, 600.0)",
                            "   End: (-450.0, 175.0, 400.0, 600.0)"});
    }

    void slideLinesAndFramesForEachEdge()
    {
        QFETCH(DrawerPosition, edge);
        QFETCH(QStringList, inLines);
        QFETCH(QRect, resting);
        QFETCH(QStringList, outLines);
        TestAppState t;
        AppState &state = t.start();
        state.setDrawerPosition(edge);
        BorderlessWindow *window = state.drawerWindow();
        t.lines.clear();

        state.toggleDrawer();
        QCOMPARE(t.lines, inLines);
        QVERIFY(window->isVisible());
        QTRY_COMPARE(window->frameRect(), resting);
        QTRY_COMPARE(window->geometry(), resting);

        t.lines.clear();
        state.toggleDrawer();
        QCOMPARE(t.lines, outLines);
        QVERIFY(window->isVisible()); // until the fade has ended
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(window->windowOpacity(), 0.0);
    }

    // The frame stands at the entry frame, beyond the edge, the moment the slide starts, and
    // moves to its rest; the native window stays on the screen all along.
    void slideInStartsBeyondTheEdgeInAWindowOnTheScreen()
    {
        TestAppState t;
        AppState &state = t.start();
        BorderlessWindow *window = state.drawerWindow();
        state.toggleDrawer();
        QCOMPARE(window->frameRect(), QRect(1540, 125, 400, 600));
        const QRect screen(0, 0, 1440, 900);
        while (window->frameRect() != QRect(1040, 125, 400, 600)) {
            QVERIFY(screen.contains(window->geometry()));
            QTest::qWait(5);
        }
        QTRY_COMPARE(window->geometry(), QRect(1040, 125, 400, 600));
    }

    void nextSlideInRestoresTheOpacity()
    {
        TestAppState t;
        AppState &state = t.start();
        t.instantSlides();
        state.setWindowOpacity(0.8);
        state.toggleDrawer();
        state.toggleDrawer();
        QVERIFY(!state.drawerWindow()->isVisible());
        QCOMPARE(state.drawerWindow()->windowOpacity(), 0.0);
        state.toggleDrawer();
        QVERIFY(state.drawerWindow()->isVisible());
        QVERIFY(qAbs(state.drawerWindow()->windowOpacity() - 0.8) < 1.0 / 255);
    }

    void reduceMotionShowsAndHidesAtOnceWithoutLines()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setReduceMotion(true);
        t.lines.clear();
        state.toggleDrawer();
        QVERIFY(state.drawerWindow()->isVisible());
        QCOMPARE(state.drawerWindow()->geometry(), QRect(1040, 125, 400, 600));
        state.toggleDrawer();
        QVERIFY(!state.drawerWindow()->isVisible());
        QVERIFY(t.lines.isEmpty());
    }

    // A press during a slide-in slides out from wherever the window stands at that moment.
    void slideOutStartsFromTheCurrentFrame()
    {
        TestAppState t;
        AppState &state = t.start();
        BorderlessWindow *window = state.drawerWindow();
        state.toggleDrawer();
        QTRY_VERIFY(window->frameRect().x() < 1540 && window->frameRect().x() > 1040);
        t.lines.clear();
        state.toggleDrawer();
        QCOMPARE(t.lines.size(), 3);
        QVERIFY2(t.lines.at(1) != QStringLiteral("   Current: (1040.0, 175.0, 400.0, 600.0)"),
                 qPrintable(t.lines.at(1)));
        QTRY_VERIFY(!window->isVisible());
    }

    // A drawer on its way out is not showing, and showing it again stops the slide-out's fade
    // and close, which must not hide the drawer that was just shown.
    void aDrawerOnItsWayOutDoesNotCountAsShowing()
    {
        TestAppState t;
        AppState &state = t.start();
        QVERIFY(!state.drawer().isShowing());
        state.toggleDrawer();
        QVERIFY(state.drawer().isShowing());
        state.toggleDrawer();
        QVERIFY(state.drawerWindow()->isVisible());
        QVERIFY(!state.drawer().isShowing());
        state.animateWindowIn(state.drawerWindow());
        QVERIFY(state.drawer().isShowing());
        QTest::qWait(SlideAnimator::slideOutMs + SlideAnimator::fadeMs + 150);
        QVERIFY(state.drawerWindow()->isVisible());
    }

    void withoutAMainScreenSlidesShowAndCloseAtOnce()
    {
        TestAppState t;
        t.screens->setScreen(std::nullopt);
        AppState &state = t.start();
        t.lines.clear();
        state.toggleDrawer();
        QVERIFY(state.drawerWindow()->isVisible());
        state.toggleDrawer();
        QVERIFY(!state.drawerWindow()->isVisible());
        QVERIFY(t.lines.isEmpty());
    }

    void anEdgeChosenWhileHiddenIsWhereTheNextSlideStarts()
    {
        TestAppState t;
        AppState &state = t.start();
        t.instantSlides();
        state.toggleDrawer();
        state.toggleDrawer();
        state.setDrawerPosition(DrawerPosition::Left);
        t.lines.clear();
        state.toggleDrawer();
        QCOMPARE(t.lines.value(1), QStringLiteral("   Start: (-500.0, 175.0, 400.0, 600.0)"));
        QCOMPARE(state.drawerWindow()->geometry(), QRect(0, 125, 400, 600));
    }

    // When the screens change, the next slide-in lands on the screen as it is now.
    void aChangedScreenMovesTheRestingOrigin()
    {
        TestAppState t;
        AppState &state = t.start();
        t.instantSlides();
        t.screens->setScreen(ScreenFrames {QRectF(0, 0, 1024, 768), QRectF(0, 40, 1024, 700),
                                           QRect(0, 0, 1024, 768)});
        QCOMPARE(state.calculateDefaultPosition(), QPointF(624, 90));
        QCOMPARE(state.maxWindowWidth(), 1024.0);
        QCOMPARE(state.maxWindowHeight(), 700.0);
        state.toggleDrawer();
        QCOMPARE(state.drawerWindow()->geometry(), QRect(624, 78, 400, 600));
    }

    void sizeIsClampedAndAppliedWithTheWindow()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setWindowWidth(250);
        state.setWindowHeight(150);
        state.updateWindowSizeRealTime();
        QCOMPARE(state.windowWidth(), 300.0);
        QCOMPARE(state.windowHeight(), 200.0);
        QCOMPARE(state.windowSize(), QSizeF(300, 200));
        QCOMPARE(state.currentMargins(), 20.0);
        QCOMPARE(state.calculateDefaultPosition(), QPointF(1140, 375));
    }

    void withoutADrawerWindowTheLiveUpdatesChangeNothing()
    {
        TestAppState t;
        AppState &state = t.start();
        DrawerController bare(state); // never creates its window
        state.setWindowWidth(250);
        state.setWindowOpacity(1.4);
        bare.updateWindowSizeRealTime();
        bare.updateWindowOpacityRealTime();
        QCOMPARE(state.windowWidth(), 250.0);
        QCOMPARE(state.windowSize(), QSizeF(400, 600));
        QCOMPARE(state.windowOpacity(), 1.4);
        bare.toggle();
    }

    void opacityIsClampedAndShownOnAVisibleDrawer_data()
    {
        QTest::addColumn<double>("opacity");
        QTest::addColumn<double>("clamped");
        QTest::newRow("1.4") << 1.4 << 1.0;
        QTest::newRow("0.1") << 0.1 << 0.3;
        QTest::newRow("0.65") << 0.65 << 0.65;
    }

    void opacityIsClampedAndShownOnAVisibleDrawer()
    {
        QFETCH(double, opacity);
        QFETCH(double, clamped);
        TestAppState t;
        AppState &state = t.start();
        t.instantSlides();
        state.toggleDrawer();
        state.setWindowOpacity(opacity);
        state.updateWindowOpacityRealTime();
        QCOMPARE(state.windowOpacity(), clamped);
        QVERIFY(qAbs(state.drawerWindow()->windowOpacity() - clamped) < 1.0 / 255);

        state.setHighContrastMode(true);
        QCOMPARE(state.drawerWindow()->windowOpacity(), 1.0);
    }

    // Stored numbers are loaded as they are, but the window stays usable: at least 0.3 opaque,
    // no larger than the visible frame and on it.
    void storedNumbersNeverMakeAnUnusableDrawer()
    {
        TestAppState t;
        t.seed(QStringLiteral("windowOpacity"), 0.001);
        t.seed(QStringLiteral("windowWidth"), 1e308);
        t.seed(QStringLiteral("windowHeight"), 2000);
        AppState &state = t.start();
        t.instantSlides();
        QCOMPARE(state.windowOpacity(), 0.001);
        state.toggleDrawer();
        BorderlessWindow *window = state.drawerWindow();
        QVERIFY(qAbs(window->windowOpacity() - 0.3) < 1.0 / 255);
        QCOMPARE(window->frameRect(), QRect(0, 25, 1440, 800));
        QCOMPARE(window->geometry(), QRect(0, 25, 1440, 800));
    }

    // A new size while a slide runs (a slider step, Reset to Defaults) does not stop it: a
    // slide-out still ends closed, a slide-in still reaches its rest, with the new size.
    void aSizeChangeDuringASlideLetsItEnd()
    {
        TestAppState t;
        AppState &state = t.start();
        BorderlessWindow *window = state.drawerWindow();
        state.toggleDrawer();
        state.setWindowWidth(500);
        state.updateWindowSizeRealTime();
        QTRY_COMPARE(window->frameRect(), QRect(940, 125, 500, 600));
        state.toggleDrawer();
        state.setWindowWidth(450);
        state.updateWindowSizeRealTime();
        QVERIFY(slidesOf(state).isSlidingOut());
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(window->frameRect().width(), 450);
    }

    // A shown drawer stays flush with its edge whatever changes its size: a mouse drag on a
    // slider (applied at its start and end), a key, Page Down, a value set by assistive
    // technology. The frame read back, the native window and the slide-out's "Current:" line
    // all give the frame the drawer has.
    void aShownDrawerStaysFlushWithItsEdge_data()
    {
        QTest::addColumn<DrawerPosition>("edge");
        QTest::newRow("right") << DrawerPosition::Right;
        QTest::newRow("top") << DrawerPosition::Top;
        QTest::newRow("bottom") << DrawerPosition::Bottom;
        QTest::newRow("left") << DrawerPosition::Left;
    }

    void aShownDrawerStaysFlushWithItsEdge()
    {
        QFETCH(DrawerPosition, edge);
        TestAppState t;
        AppState &state = t.start();
        t.instantSlides();
        state.setDrawerPosition(edge);
        state.toggleDrawer();
        BorderlessWindow *window = state.drawerWindow();
        AppearanceTab tab(state);
        QSlider *width = tab.widthRow()->slider();
        QSlider *height = tab.heightRow()->slider();
        const QRect visible(0, 25, 1440, 800); // the example's visible frame, in Qt's terms

        const auto flush = [&](const char *step) {
            const QRect frame = window->frameRect();
            const QSize size(int(state.windowWidth()), int(state.windowHeight()));
            const bool onEdge = edge == DrawerPosition::Right ? frame.right() == visible.right()
                : edge == DrawerPosition::Left                ? frame.left() == visible.left()
                : edge == DrawerPosition::Top                 ? frame.top() == visible.top()
                                                              : frame.bottom() == visible.bottom();
            const bool centred = edge == DrawerPosition::Right || edge == DrawerPosition::Left
                ? qAbs(frame.center().y() - visible.center().y()) <= 1
                : qAbs(frame.center().x() - visible.center().x()) <= 1;
            QVERIFY2(frame.size() == size && onEdge && centred && window->geometry() == frame,
                     qPrintable(QStringLiteral("%1: frame %2,%3 %4x%5, window %6,%7 %8x%9")
                                    .arg(QLatin1String(step))
                                    .arg(frame.x())
                                    .arg(frame.y())
                                    .arg(frame.width())
                                    .arg(frame.height())
                                    .arg(window->geometry().x())
                                    .arg(window->geometry().y())
                                    .arg(window->geometry().width())
                                    .arg(window->geometry().height())));
        };

        // A drag narrows the drawer by 100 px: applied when the mouse lets go.
        width->setSliderDown(true);
        width->setSliderPosition(qRound(0.3 * SliderRow::steps));
        width->setSliderPosition(0);
        width->setSliderDown(false);
        QCOMPARE(state.windowWidth(), 300.0);
        flush("drag");
        QTest::keyClick(width, Qt::Key_Right);
        QVERIFY(state.windowWidth() > 300);
        flush("Right");
        QTest::keyClick(height, Qt::Key_PageDown);
        QVERIFY(state.windowHeight() < 600);
        flush("Page Down");
        QAccessibleInterface *widthAccess = QAccessible::queryAccessibleInterface(width);
        QVERIFY(widthAccess && widthAccess->valueInterface());
        widthAccess->valueInterface()->setCurrentValue(900.0);
        QCOMPARE(state.windowWidth(), 900.0);
        flush("assistive value");

        t.lines.clear();
        const QRect frame = window->frameRect();
        state.toggleDrawer();
        QCOMPARE(t.lines.value(1),
                 QStringLiteral("   Current: (%1.0, %2.0, %3.0, %4.0)")
                     .arg(frame.x())
                     .arg(900 - frame.y() - frame.height())
                     .arg(frame.width())
                     .arg(frame.height()));
    }
};

QTEST_MAIN(tst_DrawerController)
#include "tst_DrawerController.moc"
