// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsView.h"

#include "app/AppState.h"
#include "app/ColorContrast.h"
#include "drawer/AccessibleRoles.h"
#include "settings/AdvancedTab.h"
#include "settings/AppearanceTab.h"
#include "settings/BehaviorTab.h"
#include "settings/CloseButton.h"
#include "settings/SettingsStyle.h"
#include "settings/TabButton.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
constexpr int bodyHeight = 400;
constexpr int tabBarTopSpace = 8;
} // namespace

SettingsView::SettingsView(AppState &state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(divider());
    layout->addWidget(buildTabBar());

    m_body = new QWidget(this);
    m_body->setFixedHeight(bodyHeight);
    m_bodyLayout = new QVBoxLayout(m_body);
    m_bodyLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_body);

    layout->addWidget(divider());
    layout->addWidget(buildFooter());

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_close, &CloseButton::click);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *accept = new QShortcut(QKeySequence(key), this);
        connect(accept, &QShortcut::activated, this, &SettingsView::acceptKey);
    }

    showTab();
}

QWidget *SettingsView::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    using SettingsStyle::inset;
    row->setContentsMargins(inset, inset, inset, inset);

    m_title = new QLabel(header);
    // The role before the text: assistive technology reads the label as it is first told of it.
    AccessibleRoles::setRole(m_title, QAccessible::Heading);
    m_title->setText(tr("Settings"));
    m_title->setFont(SettingsStyle::title2(font()));
    row->addWidget(m_title);
    row->addStretch(1);

    m_close = new CloseButton(header);
    m_close->setToolTip(tr("Close (Esc)"));
    m_close->setAccessibleName(tr("Close"));
    m_close->setAccessibleDescription(tr("Closes the settings window"));
    connect(m_close, &CloseButton::clicked, this, &SettingsView::dismiss);
    row->addWidget(m_close);
    return header;
}

QWidget *SettingsView::buildTabBar()
{
    auto *bar = new QWidget(this);
    AccessibleRoles::setRole(bar, QAccessible::PageTabList);
    bar->setAccessibleName(tr("Settings pages"));
    auto *row = new QHBoxLayout(bar);
    using SettingsStyle::inset;
    row->setContentsMargins(inset, tabBarTopSpace, inset, 0);
    row->setSpacing(0);
    row->addStretch(1);
    const Binding<int> selected {[this] { return m_selectedTab; },
                                 [this](const int &index) { setSelectedTab(index); }};
    const std::array<QString, 3> titles {tr("Appearance"), tr("Behavior"), tr("Advanced")};
    for (int index = 0; index < int(titles.size()); ++index) {
        m_tabButtons[index] = new TabButton(titles[index], index, selected, bar);
        m_tabButtons[index]->setAccessibleDescription(
            tr("Shows the %1 settings").arg(titles[index]));
        row->addWidget(m_tabButtons[index]);
    }
    row->addStretch(1);
    return bar;
}

QWidget *SettingsView::buildFooter()
{
    auto *footer = new QWidget(this);
    auto *row = new QHBoxLayout(footer);
    using SettingsStyle::inset;
    row->setContentsMargins(inset, inset, inset, inset);

    m_reset = new QPushButton(tr("Reset to Defaults"), footer);
    m_reset->setAutoDefault(false);
    AppState *state = &m_state;
    connect(m_reset, &QPushButton::clicked, this, [state] { state->resetToDefaults(); });
    row->addWidget(m_reset);
    row->addStretch(1);

    m_reset->setAccessibleDescription(tr("Puts every setting back to its initial value at once"));

    m_done = new QPushButton(tr("Done"), footer);
    m_done->setDefault(true);
    m_done->setAccessibleDescription(tr("Closes the settings window (Return)"));
    SettingsStyle::makeProminent(m_done, prominentContrast());
    connect(m_done, &QPushButton::clicked, this, &SettingsView::dismiss);
    row->addWidget(m_done);
    return footer;
}

QWidget *SettingsView::divider()
{
    // One pixel, like the separators of the desktop's own dialogs.
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setFixedHeight(1);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

double SettingsView::prominentContrast() const
{
    return m_state.highContrastMode() ? ColorContrast::highContrastText : ColorContrast::normalText;
}

void SettingsView::setSelectedTab(int index)
{
    if (index == m_selectedTab)
        return;
    m_selectedTab = index;
    for (TabButton *button : m_tabButtons)
        button->refresh();
    showTab();
}

TabButton *SettingsView::tabButton(int index) const
{
    if (index < 0 || index >= int(m_tabButtons.size()))
        return nullptr;
    return m_tabButtons[index];
}

// Return presses the focused button, as in the desktop's own dialogs ("Reset to Defaults" resets
// and the window stays); anywhere else it is "Done".
void SettingsView::acceptKey()
{
    auto *button = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
    const bool pushButton = button && !qobject_cast<QCheckBox *>(button)
        && !qobject_cast<QRadioButton *>(button) && isAncestorOf(button);
    if (pushButton && button->isEnabled())
        button->click();
    else
        m_done->click();
}

void SettingsView::dismiss()
{
    window()->close();
}

void SettingsView::showTab()
{
    if (m_tab) {
        // Taken out of the window at once; deleted once the click that got here has returned.
        m_bodyLayout->removeWidget(m_tab);
        m_tab->setParent(nullptr);
        m_tab->deleteLater();
    }
    switch (m_selectedTab) {
    case 1:
        m_tab = new BehaviorTab(m_state, m_body);
        break;
    case 2:
        m_tab = new AdvancedTab(m_state, m_body);
        break;
    default:
        m_tab = new AppearanceTab(m_state, m_body);
        break;
    }
    m_bodyLayout->addWidget(m_tab);
    m_tab->show();
    orderFocusChain();
}

namespace {
// The widgets of \a layout that Tab reaches, in the order the layout shows them (also those
// hidden for now, such as the colour rows).
void collectTabStops(const QLayout *layout, QList<QWidget *> &stops)
{
    for (int index = 0; index < layout->count(); ++index) {
        QLayoutItem *item = layout->itemAt(index);
        if (QWidget *widget = item->widget()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                stops.append(widget);
            if (widget->layout())
                collectTabStops(widget->layout(), stops);
        } else if (const QLayout *inner = item->layout()) {
            collectTabStops(inner, stops);
        }
    }
}
} // namespace

void SettingsView::orderFocusChain()
{
    // Reading order: the close control, the tab bar, the tab's controls top to bottom, then the
    // footer. A new tab's widgets would otherwise come after "Done".
    QList<QWidget *> chain {m_close};
    for (TabButton *button : m_tabButtons)
        chain.append(button);
    if (auto *page = qobject_cast<QScrollArea *>(m_tab);
        page && page->widget() && page->widget()->layout())
        collectTabStops(page->widget()->layout(), chain);
    chain.append(m_reset);
    chain.append(m_done);
    for (qsizetype index = 1; index < chain.size(); ++index)
        QWidget::setTabOrder(chain[index - 1], chain[index]);
}

void SettingsView::changeEvent(QEvent *event)
{
    // The accent follows the desktop's palette.
    if (event->type() == QEvent::PaletteChange && m_done)
        SettingsStyle::makeProminent(m_done, prominentContrast());
    // The text styles follow the desktop's font size: the tab's are made anew with it.
    if (event->type() == QEvent::FontChange && m_tab) {
        m_title->setFont(SettingsStyle::title2(font()));
        for (TabButton *button : m_tabButtons)
            button->followFont();
        showTab();
    }
    QWidget::changeEvent(event);
}
