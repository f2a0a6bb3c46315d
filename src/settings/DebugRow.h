// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QLabel;

/// One line of the state read-out: "label:" in the secondary colour, then the value. The row
/// takes the font of its container.
class DebugRow : public QWidget
{
    Q_OBJECT

public:
    DebugRow(const QString &label, const QString &value, QWidget *parent = nullptr);

    QString label() const { return m_label; }
    QString value() const;
    void setValue(const QString &value);

private:
    QString m_label;
    QLabel *m_labelText = nullptr;
    QLabel *m_valueText = nullptr;
};
