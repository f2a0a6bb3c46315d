#pragma once

#include "app/DrawerControl.h"

#include <QObject>
#include <QPointF>

#include <memory>

class AppState;
class BorderlessWindow;
class SlideAnimator;

/// The drawer window and everything that places it: its creation, its resting origin, the live
/// size, opacity and margin updates, the slides, and the toggle behind the hot key and the
/// tray menu.
class DrawerController : public QObject, public DrawerControl
{
    Q_OBJECT

public:
    explicit DrawerController(AppState &state);
    ~DrawerController() override;

    BorderlessWindow *window() const override { return m_window.get(); }
    SlideAnimator &slides() const { return *m_slides; }

    void createDrawerWindow() override;
    QPointF calculateDefaultPosition() const override;
    void updateWindowSizeRealTime() override;
    void updateWindowOpacityRealTime() override;
    void updateCurrentMargins() override;
    void redrawVisibleWindow() override;

    void animateWindowIn(BorderlessWindow *window) override;
    void animateWindowOut(BorderlessWindow *window) override;
    void toggle() override;
    bool isShowing() const override;
    void offerContextActions(const QList<QAction *> &actions) override;

private:
    AppState &m_state;
    std::unique_ptr<SlideAnimator> m_slides;
    std::unique_ptr<BorderlessWindow> m_window;
};
