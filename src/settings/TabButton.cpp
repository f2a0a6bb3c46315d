// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/TabButton.h"

#include "settings/SettingsStyle.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPainterPath>

namespace {

// A screen reader hears a page tab, selected or not, that the press action selects.
class TabButtonAccessible : public QAccessibleWidget
{
public:
    explicit TabButtonAccessible(TabButton *button)
        : QAccessibleWidget(button, QAccessible::PageTab)
    { }

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return button()->text();
        return own;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = button()->isCurrent();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TabButton *button() const { return static_cast<TabButton *>(widget()); }
};

QAccessibleInterface *makeAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("TabButton") && object && object->isWidgetType())
        return new TabButtonAccessible(static_cast<TabButton *>(object));
    return nullptr;
}

} // namespace

TabButton::TabButton(const QString &title, int index, Binding<int> selectedTab, QWidget *parent)
    : QAbstractButton(parent)
    , m_index(index)
    , m_selectedTab(std::move(selectedTab))
{
    static const bool installed = [] {
        QAccessible::installFactory(makeAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setText(title);
    followFont();
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, [this] { m_selectedTab.set(m_index); });
}

bool TabButton::isCurrent() const
{
    return m_selectedTab.get() == m_index;
}

void TabButton::refresh()
{
    update();
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void TabButton::followFont()
{
    QFont medium = parentWidget() ? parentWidget()->font() : QFont();
    medium.setWeight(QFont::Medium);
    setFont(medium);
}

QSize TabButton::sizeHint() const
{
    const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
    return {text.width() + 2 * horizontalPadding, text.height() + 2 * verticalPadding};
}

void TabButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool current = isCurrent();
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (current) {
        QColor ground = palette().color(QPalette::Highlight);
        ground.setAlphaF(0.1f);
        QPainterPath path;
        path.addRoundedRect(area, cornerRadius, cornerRadius);
        painter.fillPath(path, ground);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
        painter.drawRoundedRect(area, cornerRadius, cornerRadius);
    }
    painter.setPen(current ? palette().color(QPalette::WindowText)
                           : SettingsStyle::secondaryText(palette()));
    painter.drawText(rect(), Qt::AlignCenter, text());
}
