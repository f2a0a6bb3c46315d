#pragma once

#include <QRect>
#include <QWidget>

class SwayWindowPlacement;
class X11WindowActivation;

/// The drawer's window: borderless, kept above ordinary windows, without a taskbar or pager
/// entry, managed by the window manager and placed by the application.
///
/// Window managers keep managed windows on screen, so the native window never leaves it: it
/// covers an area on the drawer's screen (setArea), and the drawer's frame, wherever a slide has
/// it, is shown by putting the content at the frame's place and clipping the window to the part
/// of the frame inside that area and the screen (setFrameRect). It can take the keyboard focus,
/// and closing it only hides it.
class BorderlessWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BorderlessWindow(QWidget *parent = nullptr);
    ~BorderlessWindow() override;

    /// Puts \a content in the window; it keeps the frame's size.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    /// Puts the native window at \a area (Qt's global coordinates).
    void setArea(const QRect &area);
    /// Shows the drawer's frame \a frame (Qt's global coordinates), clipped to \a clip.
    void setFrameRect(const QRect &frame, const QRect &clip);
    /// The drawer's frame as the user sees it, which may lie partly beyond the native window.
    QRect frameRect() const { return m_frame; }

    /// Shows the window, raises it and gives it the keyboard, with a time stamp the window
    /// manager's focus-stealing prevention accepts.
    void present();

    /// The startup id of the launch whose command comes next (see X11WindowActivation): the
    /// next present() carries it; finishCommand() ends it when the command showed nothing.
    void setStartupId(const QByteArray &id);
    void finishCommand();

Q_SIGNALS:
    /// The drawer went off screen (closed at the end of a slide-out, or at once).
    void hidden();

protected:
    void hideEvent(QHideEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeContent();
    void keepArea();

    QWidget *m_content = nullptr;
    QRect m_frame;
    QRect m_clip;
    QRect m_area; // where the native window should stand
    X11WindowActivation *m_activation = nullptr;
    SwayWindowPlacement *m_sway = nullptr;
};
