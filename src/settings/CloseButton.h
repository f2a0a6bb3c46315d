// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>

/// The settings window's close control: a borderless circled cross in the secondary text
/// colour, darker under the pointer, ringed in the accent colour while it has the focus. It is
/// exactly as large as its image, so it adds no height to the header it sits in.
class CloseButton : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int extent = 20;

    explicit CloseButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
