// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SliderRow.h"

#include "app/NumberFormat.h"
#include "settings/SettingsStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {
constexpr int columnWidth = 60;
}

SliderRow::SliderRow(const QString &title, Binding<double> value, double lower, double upper,
                     QByteArray format, Transform valueTransform, std::function<void()> onChange,
                     QWidget *parent)
    : QWidget(parent)
    , m_value(std::move(value))
    , m_format(std::move(format))
    , m_transform(std::move(valueTransform))
    , m_onChange(std::move(onChange))
    , m_title(new QLabel(title, this))
    , m_slider(new ValueSlider(this))
    , m_valueText(new QLabel(this))
{
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFixedWidth(columnWidth);
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_slider->setRange(0, steps);
    m_slider->setSingleStep(steps / 100);
    m_slider->setPageStep(steps / 10);
    m_slider->setAccessibleName(title);

    m_valueText->setTextFormat(Qt::PlainText);
    m_valueText->setFixedWidth(columnWidth);
    m_valueText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_valueText->setFont(SettingsStyle::monospacedCaption(font()));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_valueText);

    // A drag reports its start and end; the moves in between only write the value.
    connect(m_slider, &QSlider::sliderPressed, this, [this] { m_onChange(); });
    connect(m_slider, &QSlider::sliderReleased, this, [this] { m_onChange(); });
    connect(m_slider, &QSlider::valueChanged, this, &SliderRow::userMoved);

    setRange(lower, upper);
}

void SliderRow::setRange(double lower, double upper)
{
    m_lower = std::isfinite(lower) ? lower : 0.0;
    m_upper = std::isfinite(upper) && upper > m_lower ? upper : m_lower;
    refresh();
}

void SliderRow::refresh()
{
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(positionFor(m_value.get()));
    }
    showValueText();
}

QString SliderRow::title() const
{
    return m_title->text();
}

QString SliderRow::valueText() const
{
    return m_valueText->text();
}

int SliderRow::positionFor(double value) const
{
    if (!(m_upper > m_lower) || std::isnan(value))
        return 0;
    const double fraction = std::clamp((value - m_lower) / (m_upper - m_lower), 0.0, 1.0);
    return static_cast<int>(std::lround(fraction * steps));
}

double SliderRow::valueAt(int position) const
{
    if (position >= steps)
        return m_upper;
    if (position <= 0)
        return m_lower;
    const double value = m_lower + (m_upper - m_lower) * position / steps;
    return m_whole ? std::clamp(std::round(value), m_lower, m_upper) : value;
}

void SliderRow::userMoved(int position)
{
    m_value.set(valueAt(position));
    showValueText();
    if (!m_slider->isSliderDown())
        m_onChange();
}

void SliderRow::showValueText()
{
    const auto shown = [this](double value) { return m_transform ? m_transform(value) : value; };
    const double value = shown(m_value.get());
    const QString text = NumberFormat::printf(m_format.constData(), value);
    m_valueText->setText(text);
    // Units as a screen reader should say them: "400 pixels", "85 percent".
    QByteArray spoken = m_format;
    spoken.replace(" px", " " + tr("pixels").toUtf8()).replace("%%", " " + tr("percent").toUtf8());
    m_slider->setShownValue(value, text, NumberFormat::printf(spoken.constData(), value),
                            shown(m_lower), shown(m_upper));
}

void SliderRow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The value text's style follows the window's font (the desktop's size), also when the row
    // joins the window after it was made.
    if (event->type() == QEvent::FontChange)
        m_valueText->setFont(SettingsStyle::monospacedCaption(font()));
}

void SliderRow::setDescription(const QString &description)
{
    m_slider->setAccessibleDescription(description);
}
