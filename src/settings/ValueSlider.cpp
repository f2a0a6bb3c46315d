// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/ValueSlider.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include <algorithm>
#include <cmath>

namespace {

// What a screen reader learns of a ValueSlider: its name, its value text ("400 px") and the
// value and bounds as shown to the user. A value set through it moves the slider like the user.
class ValueSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ValueSliderAccessible(ValueSlider *slider)
        : QAccessibleWidget(slider, QAccessible::Slider)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return slider()->spokenValue();
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Description && !slider()->spokenValue().isEmpty())
            return own.isEmpty() ? slider()->spokenValue()
                                 : own + QStringLiteral(": ") + slider()->spokenValue();
        return own;
    }

    QVariant currentValue() const override { return slider()->shownValue(); }
    QVariant maximumValue() const override { return slider()->shownHighest(); }
    QVariant minimumValue() const override { return slider()->shownLowest(); }
    QVariant minimumStepSize() const override
    {
        const ValueSlider *s = slider();
        return s->maximum() > 0
            ? (s->shownHighest() - s->shownLowest()) * s->singleStep() / s->maximum()
            : 0.0;
    }

    void setCurrentValue(const QVariant &value) override
    {
        ValueSlider *s = slider();
        const double span = s->shownHighest() - s->shownLowest();
        if (!(span > 0))
            return;
        const double fraction = std::clamp((value.toDouble() - s->shownLowest()) / span, 0.0, 1.0);
        s->setValue(int(std::lround(fraction * s->maximum())));
    }

private:
    ValueSlider *slider() const { return static_cast<ValueSlider *>(widget()); }
};

QAccessibleInterface *makeAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("ValueSlider") && object && object->isWidgetType())
        return new ValueSliderAccessible(static_cast<ValueSlider *>(object));
    return nullptr;
}

} // namespace

ValueSlider::ValueSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(makeAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void ValueSlider::setShownValue(double value, const QString &text, const QString &spoken,
                                double lowest, double highest)
{
    const bool changed = value != m_shown || text != m_text;
    m_shown = value;
    m_text = text;
    m_spoken = spoken;
    m_lowest = lowest;
    m_highest = highest;
    if (changed && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value);
        QAccessible::updateAccessibility(&event);
    }
}
