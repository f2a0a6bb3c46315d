// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/QtScreenSource.h"

#include "platform/ScreenCoordinates.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

QtScreenSource::QtScreenSource(QObject *parent)
    : ScreenSource(parent)
{
    if (!qGuiApp)
        return;
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watch(screen);
        Q_EMIT screensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenSource::screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &ScreenSource::screensChanged);
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
}

void QtScreenSource::watch(QScreen *screen)
{
    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenSource::screensChanged);
    connect(screen, &QScreen::geometryChanged, this, &ScreenSource::screensChanged);
}

std::optional<ScreenFrames> QtScreenSource::framesOf(const QScreen *screen)
{
    const QScreen *primaryScreen = QGuiApplication::primaryScreen();
    if (!screen || !primaryScreen)
        return std::nullopt;
    const QRect primary = primaryScreen->geometry();
    if (primary.isEmpty() || screen->geometry().isEmpty())
        return std::nullopt;
    return ScreenFrames {ScreenCoordinates::fromQtRect(screen->geometry(), primary),
                         ScreenCoordinates::fromQtRect(screen->availableGeometry(), primary), primary};
}

std::optional<ScreenFrames> QtScreenSource::mainScreen() const
{
    if (!qGuiApp)
        return std::nullopt;
    // The pointer's screen, as Yakuake and Guake do: the drawer opens where the user looks.
    if (const QScreen *pointed = QGuiApplication::screenAt(QCursor::pos()))
        return framesOf(pointed);
    return framesOf(QGuiApplication::primaryScreen());
}

std::optional<ScreenFrames> QtScreenSource::screenWithFrame(const QRectF &frame) const
{
    if (!qGuiApp)
        return std::nullopt;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const auto frames = framesOf(screen);
        if (frames && frames->frame == frame)
            return frames;
    }
    return std::nullopt;
}
