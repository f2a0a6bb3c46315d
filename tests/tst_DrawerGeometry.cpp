// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "geometry/DrawerGeometry.h"
#include "platform/ScreenCoordinates.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace DrawerGeometry;
using namespace ScreenCoordinates;

namespace {
const QRectF screen(0, 0, 1440, 900);
const QRectF visible(0, 75, 1440, 800);
const QSizeF size(400, 600);
} // namespace

class tst_DrawerGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exampleScreenFrames_data()
    {
        QTest::addColumn<DrawerPosition>("edge");
        QTest::addColumn<QRectF>("resting");
        QTest::addColumn<QRectF>("entry");
        QTest::addColumn<QRectF>("exit");
        QTest::newRow("top") << DrawerPosition::Top << QRectF(520, 275, 400, 600)
                             << QRectF(520, 1000, 400, 600) << QRectF(520, 950, 400, 600);
        QTest::newRow("right") << DrawerPosition::Right << QRectF(1040, 175, 400, 600)
                               << QRectF(1540, 175, 400, 600) << QRectF(1490, 175, 400, 600);
        QTest::newRow("bottom") << DrawerPosition::Bottom << QRectF(520, 75, 400, 600)
                                << QRectF(520, -700, 400, 600) << QRectF(520, -650, 400, 600);
        QTest::newRow("left") << DrawerPosition::Left << QRectF(0, 175, 400, 600)
                              << QRectF(-500, 175, 400, 600) << QRectF(-450, 175, 400, 600);
    }

    void exampleScreenFrames()
    {
        QFETCH(DrawerPosition, edge);
        QFETCH(QRectF, resting);
        QFETCH(QRectF, entry);
        QFETCH(QRectF, exit);
        const QPointF origin = restingOrigin(edge, size, visible);
        QCOMPARE(QRectF(origin, size), resting);
        QCOMPARE(entryFrame(edge, origin, size, screen), entry);
        QCOMPARE(exitFrame(edge, resting, screen), exit);
    }

    // Bottom and left are measured from coordinate 0, top and right from the full frame, so a
    // main screen away from the origin moves only the top and right off-screen frames.
    void offScreenFramesOfAScreenAwayFromTheOrigin()
    {
        const QRectF shifted(200, 100, 1000, 700);
        const QPointF resting(300, 300);
        QCOMPARE(entryFrame(DrawerPosition::Bottom, resting, size, shifted).y(), -700.0);
        QCOMPARE(entryFrame(DrawerPosition::Left, resting, size, shifted).x(), -500.0);
        QCOMPARE(entryFrame(DrawerPosition::Top, resting, size, shifted).y(), 900.0);
        QCOMPARE(entryFrame(DrawerPosition::Right, resting, size, shifted).x(), 1300.0);
        const QRectF current(300, 300, 350, 250);
        QCOMPARE(exitFrame(DrawerPosition::Bottom, current, shifted), QRectF(300, -300, 350, 250));
        QCOMPARE(exitFrame(DrawerPosition::Top, current, shifted), QRectF(300, 850, 350, 250));
    }

    // The exit frame keeps the window's current size and the coordinate along the edge.
    void exitFrameStartsFromTheCurrentFrame()
    {
        const QRectF midway(1200, 180, 500, 300);
        QCOMPARE(exitFrame(DrawerPosition::Right, midway, screen), QRectF(1490, 180, 500, 300));
        QCOMPARE(exitFrame(DrawerPosition::Left, midway, screen), QRectF(-550, 180, 500, 300));
    }

    void largerThanTheScreenOverhangs()
    {
        const QPointF origin = restingOrigin(DrawerPosition::Right, QSizeF(400, 1000), visible);
        QCOMPARE(origin, QPointF(1040, -25));
        QCOMPARE(restingOrigin(DrawerPosition::Top, QSizeF(1600, 600), visible).x(), -80.0);
    }

    void automaticMargins_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("margins");
        QTest::newRow("300") << 300.0 << 20.0;
        QTest::newRow("400") << 400.0 << 22.876820724517809;
        QTest::newRow("600") << 600.0 << 26.931471805599453;
        QTest::newRow("1200") << 1200.0 << 33.862943611198906;
        QTest::newRow("250 is raised") << 250.0 << 20.0;
        QTest::newRow("0 (log is -inf)") << 0.0 << 20.0;
        QTest::newRow("negative (log is nan)") << -5.0 << 20.0;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 20.0;
    }

    void automaticMargins()
    {
        QFETCH(double, width);
        QFETCH(double, margins);
        QCOMPARE(DrawerGeometry::automaticMargins(width), margins);
    }

    void qtConversionRoundTrips_data()
    {
        QTest::addColumn<QRect>("primary");
        QTest::addColumn<QRectF>("frame");
        QTest::addColumn<QRect>("qt");
        QTest::newRow("right resting")
            << QRect(0, 0, 1440, 900) << QRectF(1040, 175, 400, 600) << QRect(1040, 125, 400, 600);
        QTest::newRow("bottom entry")
            << QRect(0, 0, 1440, 900) << QRectF(520, -700, 400, 600) << QRect(520, 1000, 400, 600);
        QTest::newRow("origin") << QRect(0, 0, 1440, 900) << QRectF(0, 0, 400, 600)
                                << QRect(0, 300, 400, 600);
        QTest::newRow("primary not at 0,0")
            << QRect(100, 50, 1000, 800) << QRectF(10, 20, 300, 200) << QRect(110, 630, 300, 200);
    }

    void qtConversionRoundTrips()
    {
        QFETCH(QRect, primary);
        QFETCH(QRectF, frame);
        QFETCH(QRect, qt);
        QCOMPARE(toQtRect(frame, primary), std::optional<QRect>(qt));
        QCOMPARE(fromQtRect(qt, primary), frame);
    }

    // Half points round at the edges, not in the size: a bottom drawer 600.5 high rests on the
    // visible frame's bottom (Qt 825), a left one 400.5 wide keeps its left edge at 0.
    void halfPointsKeepTheDrawerFlushWithItsEdge()
    {
        const QRect primary(0, 0, 1440, 900);
        const QRectF visible(0, 75, 1440, 800);
        const QSizeF size(400.5, 600.5);
        const QRect bottom = *toQtRect(
            QRectF(restingOrigin(DrawerPosition::Bottom, size, visible), size), primary);
        QCOMPARE(bottom.y() + bottom.height(), 825);
        const QRect right
            = *toQtRect(QRectF(restingOrigin(DrawerPosition::Right, size, visible), size), primary);
        QCOMPARE(right.x() + right.width(), 1440);
    }

    void numbersTheWindowSystemCannotTakeNeverReachARect()
    {
        const QRect primary(0, 0, 1440, 900);
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(!toQtRect(QRectF(inf, 0, 400, 600), primary));
        QVERIFY(!toQtRect(QRectF(0, 0, nan, 600), primary));
        QVERIFY(!toQtRect(QRectF(0, 0, 400, -inf), primary));

        const auto huge = toQtRect(QRectF(1e300, -1e300, 1e308, 1e308), primary);
        QVERIFY(huge);
        QVERIFY(huge->x() <= 32767 && huge->y() >= -32768);
        QVERIFY(huge->width() > 0 && huge->width() <= 32767);
        QVERIFY(huge->height() > 0 && huge->height() <= 32767);
    }
};

QTEST_GUILESS_MAIN(tst_DrawerGeometry)
#include "tst_DrawerGeometry.moc"
