// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ColorContrast.h"

#include <cmath>

namespace ColorContrast {

namespace {
double channel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

QColor mix(const QColor &from, const QColor &to, double t)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t));
}
} // namespace

double luminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF())
        + 0.0722 * channel(rgb.blueF());
}

double ratio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor over(const QColor &color, const QColor &ground)
{
    const QColor base = ground.toRgb();
    QColor opaque = mix(base, color.toRgb(), color.alphaF());
    opaque.setAlpha(255);
    return opaque;
}

QColor readable(const QColor &text, const QColor &ground, double minimum)
{
    const QColor start = over(text, ground);
    if (ratio(start, ground) >= minimum)
        return start;
    // Away from the ground: towards whichever of black and white contrasts more with it.
    const QColor end = ratio(Qt::black, ground) >= ratio(Qt::white, ground) ? QColor(Qt::black)
                                                                            : QColor(Qt::white);
    if (ratio(end, ground) < minimum)
        return end;
    double low = 0;
    double high = 1;
    for (int step = 0; step < 20; ++step) {
        const double t = (low + high) / 2;
        (ratio(mix(start, end, t), ground) >= minimum ? high : low) = t;
    }
    // Whole channels round either way: step on until the rounded colour reaches the minimum.
    QColor result = mix(start, end, high);
    for (double t = high; ratio(result, ground) < minimum && t < 1; t = std::min(1.0, t + 0.002))
        result = mix(start, end, t);
    return result;
}

QColor destructive(const QColor &ground, double minimum)
{
    // The style draws a button's fill lighter and darker than the colour it is given (Fusion: a
    // gradient whose top is up to half as light again on a dark button, under the pointer): the
    // label reads on all of that fill.
    QColor red = readable(QColor(0xe0, 0x2f, 0x26), ground, minimum);
    for (const QColor &fill : {ground.lighter(150), ground.darker(110)})
        red = readable(red, fill, minimum);
    return red;
}

} // namespace ColorContrast
