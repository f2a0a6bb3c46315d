#include "drawer/QtScreenSource.h"

#include "drawer/DrawerGeometry.h"

#include <QGuiApplication>
#include <QScreen>

std::optional<ScreenFrames> QtScreenSource::mainScreen() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const QRect primary = screen->geometry();
    if (primary.isEmpty())
        return std::nullopt;
    return ScreenFrames {DrawerGeometry::fromQtRect(primary, primary),
                         DrawerGeometry::fromQtRect(screen->availableGeometry(), primary), primary};
}
