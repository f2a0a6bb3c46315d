// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/Binding.h"
#include "settings/ValueSlider.h"

#include <QByteArray>
#include <QWidget>

#include <functional>

class QLabel;
class QSlider;

/// A labelled slider over a range of doubles, with the value written out beside it.
///
/// Every movement writes the bound value at once. `onChange` runs when a mouse drag starts and
/// when it ends, never in between; a change by keys, the wheel or a click on the groove (which
/// has no start and end) runs it once. Showing the bound value never writes it back, so a value
/// outside the range stays as it is until the user moves the slider.
class SliderRow : public QWidget
{
    Q_OBJECT

public:
    using Transform = std::function<double(double)>;

    /// The slider's resolution: positions 0 to `steps` cover the range.
    static constexpr int steps = 10000;

    /// \a format is a printf format with one floating-point conversion; \a valueTransform, when
    /// given, changes the value for the text only.
    SliderRow(const QString &title, Binding<double> value, double lower, double upper,
              QByteArray format, Transform valueTransform, std::function<void()> onChange,
              QWidget *parent = nullptr);

    /// Sets the range; an upper bound below the lower one (or not finite) is raised to it.
    void setRange(double lower, double upper);
    double lower() const { return m_lower; }
    double upper() const { return m_upper; }

    /// Shows the bound value again; the owner calls it when the value changed elsewhere.
    void refresh();

    /// Makes the slider write whole numbers only (sizes in pixels: a window has whole ones, so
    /// the value text, the read-outs and the window agree).
    void setWholeNumbers(bool whole) { m_whole = whole; }

    /// What the slider sets, for assistive technology.
    void setDescription(const QString &description);

    QString title() const;
    QString valueText() const;
    QSlider *slider() const { return m_slider; }

protected:
    void changeEvent(QEvent *event) override;

private:
    int positionFor(double value) const;
    double valueAt(int position) const;
    void userMoved(int position);
    void showValueText();

    Binding<double> m_value;
    double m_lower = 0;
    double m_upper = 0;
    QByteArray m_format;
    Transform m_transform;
    std::function<void()> m_onChange;
    bool m_whole = false;

    QLabel *m_title = nullptr;
    ValueSlider *m_slider = nullptr;
    QLabel *m_valueText = nullptr;
};
