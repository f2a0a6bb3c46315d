// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/AppState.h"
#include "app/Settings.h"
#include "settings/Binding.h"
#include "settings/SliderRow.h"

#include <QCheckBox>
#include <QScrollArea>
#include <QVBoxLayout>

/// The frame every settings tab shares: a scroll area around a column of sections, each a
/// SectionHeader above its controls, with room to spare at the end.
class SettingsTabPage : public QScrollArea
{
    Q_OBJECT

public:
    explicit SettingsTabPage(AppState &state, QWidget *parent = nullptr);

protected:
    /// Adds a section headed \a title and \a subtitle; its controls go into the returned layout.
    QVBoxLayout *addSection(const QString &title, const QString &subtitle);
    /// Adds a column for several controls to \a section.
    QVBoxLayout *addControlStack(QVBoxLayout *section);
    /// Closes the column of sections with a flexible space that takes the rest of the body.
    void finishSections();

    /// A checkbox labelled \a label bound to the switch of the settings table's \a row: it shows
    /// the model's value, follows its changes and writes the user's choice.
    template<typename Row>
    QCheckBox *addCheckBox(QVBoxLayout *layout, const QString &label, const Row &row);

    /// A slider titled \a title over the number of the settings table's \a row, its value
    /// written out by \a format (\a transform changes it for the text only): the row gives the
    /// range and the steps, the slider follows the value and the upper bound, and the row's
    /// operation runs when a drag starts and ends (see SliderRow).
    template<typename Row>
    SliderRow *addSlider(QVBoxLayout *layout, const QString &title, const Row &row,
                         QByteArray format, SliderRow::Transform transform = {});

    AppState &m_state;

private:
    QWidget *m_content = nullptr;
    QVBoxLayout *m_sections = nullptr;
};

template<typename Row>
QCheckBox *SettingsTabPage::addCheckBox(QVBoxLayout *layout, const QString &label, const Row &row)
{
    auto *box = new QCheckBox(label, m_content);
    layout->addWidget(box);
    m_state.subscribe(row.get, row.changed, box, [box](bool on) { box->setChecked(on); });
    // toggled() comes from a click, the keyboard and assistive technology's toggle action alike
    // (which never clicks); the model's own value, shown, is not written back.
    AppState *state = &m_state;
    connect(box, &QCheckBox::toggled, box, [state, &row](bool on) {
        if (row.value(*state) != on)
            row.assign(*state, on);
    });
    return box;
}

template<typename Row>
SliderRow *SettingsTabPage::addSlider(QVBoxLayout *layout, const QString &title, const Row &row,
                                      QByteArray format, SliderRow::Transform transform)
{
    Q_ASSERT(row.apply);
    const Settings::Limits &limits = row.limits;
    AppState *state = &m_state;
    const double upper = limits.upperFrom ? (m_state.*limits.upperFrom)() : limits.upper;
    auto *slider = new SliderRow(
        title, bindSetting(m_state, row), limits.lower, upper, std::move(format),
        std::move(transform), [state, &row] { (state->*row.apply)(); }, m_content);
    slider->setWholeNumbers(limits.wholeNumbers);
    layout->addWidget(slider);
    connect(&m_state, row.changed, slider, &SliderRow::refresh);
    if (limits.upperChanged)
        connect(&m_state, limits.upperChanged, slider,
                [slider, &limits](double upper) { slider->setRange(limits.lower, upper); });
    return slider;
}
