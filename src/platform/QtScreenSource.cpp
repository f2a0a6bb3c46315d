// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/QtScreenSource.h"

#include "platform/PlatformLog.h"
#include "platform/ScreenCoordinates.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

QtScreenSource::QtScreenSource(QObject *parent)
    : ScreenSource(parent)
{
    if (!qGuiApp)
        return;
    m_compositor = CompositorOutput::forEnvironment();
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
                         ScreenCoordinates::fromQtRect(screen->availableGeometry(), primary),
                         primary};
}

std::optional<ScreenFrames> QtScreenSource::mainScreen() const
{
    if (!qGuiApp)
        return std::nullopt;
    // The pointer's screen, as Yakuake and Guake do: the drawer opens where the user looks.
    // Where the compositor tells which output that is, its word counts.
    if (const QScreen *active = compositorsScreen())
        return framesOf(active);
    if (const QScreen *pointed = QGuiApplication::screenAt(QCursor::pos()))
        return framesOf(pointed);
    return framesOf(QGuiApplication::primaryScreen());
}

QScreen *QtScreenSource::compositorsScreen() const
{
    if (m_compositor == CompositorOutput::Compositor::None)
        return nullptr;
    const auto output = CompositorOutput::active(m_compositor);
    if (!output)
        return nullptr;
    const QList<QScreen *> screens = QGuiApplication::screens();
    // XWayland names its RandR outputs after the compositor's outputs.
    for (QScreen *screen : screens) {
        if (screen->name() == output->name)
            return screen;
    }
    // An older XWayland numbers them instead: the output's place in the layout tells.
    if (!output->rect.isEmpty()) {
        for (QScreen *screen : screens) {
            if (screen->geometry().topLeft() == output->rect.topLeft())
                return screen;
        }
    }
    qCDebug(lcPlatform) << "no screen is the compositor's output" << output->name;
    return nullptr;
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
