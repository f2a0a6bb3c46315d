// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

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
    /// What the colour is for ("Background"); the accessible name is the title and the colour.
    void setTitle(const QString &title);
    /// The colour in words, for assistive technology: "black (#000000), 30% opaque".
    static QString describe(const QColor &color);
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
    void updateAccessibleName();

    Binding<QColor> m_color;
    QPointer<QColorDialog> m_dialog;
    QString m_title;
};
