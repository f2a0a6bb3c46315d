#pragma once

#include "settings/Binding.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QPointer>

/// A colour swatch button. Pressing it opens a colour dialog with an opacity control; the
/// chosen colour is written through the binding and announced.
class ColorWell : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ColorWell(Binding<QColor> color, QWidget *parent = nullptr);

    QColor color() const { return m_color.get(); }
    /// Draws the bound colour again after it changed elsewhere.
    void refresh();
    /// The dialog while it is open, else null.
    QColorDialog *dialog() const { return m_dialog; }

    QSize sizeHint() const override;

Q_SIGNALS:
    /// The user chose \a color in the dialog; the binding holds it already.
    void colorChosen(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void openDialog();

    Binding<QColor> m_color;
    QPointer<QColorDialog> m_dialog;
};
