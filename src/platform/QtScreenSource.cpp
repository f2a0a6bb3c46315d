#include "platform/QtScreenSource.h"

#include "drawer/DrawerGeometry.h"

#include <QGuiApplication>
#include <QScreen>

QtScreenSource::QtScreenSource(QObject *parent)
    : ScreenSource(parent)
{
    if (!qGuiApp)
        return;
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &ScreenSource::screensChanged);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenSource::screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this] {
        watchPrimaryScreen();
        Q_EMIT screensChanged();
    });
    watchPrimaryScreen();
}

// Only the primary screen's areas matter: it is the screen the drawer slides onto.
void QtScreenSource::watchPrimaryScreen()
{
    for (QScreen *screen : QGuiApplication::screens())
        disconnect(screen, nullptr, this, nullptr);
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        connect(primary, &QScreen::availableGeometryChanged, this, &ScreenSource::screensChanged);
        connect(primary, &QScreen::geometryChanged, this, &ScreenSource::screensChanged);
    }
}

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
