#pragma once

#include <QWidget>

/// The drawer's window: borderless, above ordinary windows, without a taskbar entry, placed by
/// the application itself (the window manager would keep it on screen and spoil the slides).
/// It can take the keyboard focus, and closing it only hides it.
class BorderlessWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BorderlessWindow(QWidget *parent = nullptr);

    /// Puts \a content in the window, filling it.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

Q_SIGNALS:
    /// The drawer went off screen (closed at the end of a slide-out, or at once).
    void hidden();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *m_content = nullptr;
};
