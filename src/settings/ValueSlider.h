// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSlider>

/// A horizontal slider over fine integer positions that tells assistive technology the value
/// the user sees (for example 400 for "400 px") and its text as spoken ("400 pixels"), instead
/// of its raw position. AT-SPI bridges without a value text (Qt before 6.8) hear the spoken text
/// at the end of the description.
class ValueSlider : public QSlider
{
    Q_OBJECT

public:
    explicit ValueSlider(QWidget *parent = nullptr);

    /// The value shown for the current position, its text as shown and as spoken, and the
    /// values shown at the two ends; the owner calls it whenever one of them changes.
    void setShownValue(double value, const QString &text, const QString &spoken, double lowest,
                       double highest);

    double shownValue() const { return m_shown; }
    double shownLowest() const { return m_lowest; }
    double shownHighest() const { return m_highest; }
    QString valueText() const { return m_text; }
    QString spokenValue() const { return m_spoken; }

private:
    double m_shown = 0;
    double m_lowest = 0;
    double m_highest = 0;
    QString m_text;
    QString m_spoken;
};
