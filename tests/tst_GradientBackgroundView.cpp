// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/GradientBackgroundView.h"

#include "editor/GradientLayer.h"
#include "editor/TransparentGradientView.h"

#include <QPointer>
#include <QTest>

namespace {
QList<QWidget *> layersOf(const GradientBackgroundView &view)
{
    return view.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
}

void expectOneMaterialUnderOneGradient(const GradientBackgroundView &view)
{
    const QList<QWidget *> layers = layersOf(view);
    QCOMPARE(layers.size(), 2);
    QCOMPARE(layers.at(0)->objectName(), QStringLiteral("material"));
    QVERIFY(qobject_cast<GradientLayer *>(layers.at(1)));
    for (QWidget *layer : layers)
        QCOMPARE(layer->geometry(), view.rect());
}
} // namespace

class tst_GradientBackgroundView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builtAtZeroSizeThenAtTheRealSize()
    {
        GradientBackgroundView view;
        expectOneMaterialUnderOneGradient(view);
        QVERIFY(layersOf(view).at(0)->size().isEmpty());
        QVERIFY(layersOf(view).at(1)->size().isEmpty());

        view.resize(320, 480);
        view.show();
        expectOneMaterialUnderOneGradient(view);
        QCOMPARE(layersOf(view).at(1)->size(), QSize(320, 480));
    }

    void neverGathersChildren()
    {
        GradientBackgroundView view;
        view.show();
        for (int i = 0; i < 50; ++i) {
            view.resize(100 + i, 200 + 2 * i);
            expectOneMaterialUnderOneGradient(view);
        }
        QVERIFY(layersOf(view).at(0)->isVisible());
        QVERIFY(layersOf(view).at(1)->isVisible());
    }

    void foreignChildGoesAtTheNextPass()
    {
        GradientBackgroundView view;
        view.resize(50, 50);
        view.show();
        QPointer<QWidget> foreign = new QWidget(&view);
        QCOMPARE(layersOf(view).size(), 3);
        view.resize(60, 60);
        expectOneMaterialUnderOneGradient(view);
        QVERIFY(!layersOf(view).contains(foreign.data()));
        QTRY_VERIFY(foreign.isNull());
    }

    void materialAndGradientLook()
    {
        QCOMPARE(GradientBackgroundView::materialColor().alphaF(), 0.95f);
        QVERIFY(GradientBackgroundView::materialColor().lightnessF() < 0.25f);

        GradientBackgroundView view;
        view.resize(40, 30);
        const QColor filled = layersOf(view).at(0)->palette().color(QPalette::Window);
        QCOMPARE(filled, GradientBackgroundView::materialColor());
        QVERIFY(layersOf(view).at(0)->autoFillBackground());

        const QLinearGradient gradient = GradientLayer::gradientFor(QRectF(0, 0, 40, 30));
        QCOMPARE(gradient.start(), QPointF(0, 0));
        QCOMPARE(gradient.finalStop(), QPointF(40, 30));
        const QGradientStops stops = gradient.stops();
        QCOMPARE(stops.size(), 3);
        const qreal positions[] = {0.0, 0.5, 1.0};
        const float alphas[] = {0.7f, 0.5f, 0.3f};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(stops.at(i).first, positions[i]);
            QCOMPARE(stops.at(i).second.rgb(), qRgb(0, 0, 0));
            QVERIFY(qAbs(stops.at(i).second.alphaF() - alphas[i]) < 0.01f);
        }
    }

    void darkestAtTheTopLeft()
    {
        GradientBackgroundView view;
        view.resize(100, 100);
        view.show();
        const QImage image = view.grab().toImage();
        const auto lightness
            = [&image](int x, int y) { return QColor(image.pixel(x, y)).lightness(); };
        QVERIFY(lightness(1, 1) < lightness(50, 50));
        QVERIFY(lightness(50, 50) < lightness(98, 98));
    }

    void wrapperHoldsOneBackgroundFillingIt()
    {
        TransparentGradientView wrapper;
        wrapper.resize(200, 150);
        wrapper.show();
        const auto backgrounds = wrapper.findChildren<GradientBackgroundView *>();
        QCOMPARE(backgrounds.size(), 1);
        QCOMPARE(backgrounds.first(), wrapper.background());
        QCOMPARE(wrapper.background()->geometry(), wrapper.rect());
        expectOneMaterialUnderOneGradient(*wrapper.background());
    }
};

QTEST_MAIN(tst_GradientBackgroundView)
#include "tst_GradientBackgroundView.moc"
