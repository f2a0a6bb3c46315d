#pragma once

#include <QObject>
#include <QPointF>

#include <memory>

class AppState;
class BorderlessWindow;
class SlideAnimator;

/// The drawer window and everything that places it: its creation, its resting origin, the live
/// size, opacity and margin updates, the slides, and the toggle behind the hot key and the
/// tray menu.
class DrawerController : public QObject
{
    Q_OBJECT

public:
    explicit DrawerController(AppState &state);
    ~DrawerController() override;

    BorderlessWindow *window() const { return m_window.get(); }
    SlideAnimator &slides() const { return *m_slides; }

    void createDrawerWindow();
    QPointF calculateDefaultPosition() const;
    void updateWindowSizeRealTime();
    void updateWindowOpacityRealTime();
    void updateCurrentMargins();
    /// Asks a visible drawer to paint itself again.
    void redrawVisibleWindow();

    void animateWindowIn(BorderlessWindow *window);
    void animateWindowOut(BorderlessWindow *window);
    void toggle();
    /// True while the drawer is on screen and not on its way out.
    bool isShowing() const;

private:
    AppState &m_state;
    std::unique_ptr<SlideAnimator> m_slides;
    std::unique_ptr<BorderlessWindow> m_window;
};
