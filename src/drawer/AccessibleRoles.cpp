// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/AccessibleRoles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QLabel>
#include <QWidget>

namespace {
const char *const roleProperty = "jotshelfAccessibleRole";

// A label read in a role of its own (a heading) still reads its text as its name.
class LabelAccessible : public QAccessibleWidget
{
public:
    LabelAccessible(QLabel *label, QAccessible::Role role)
        : QAccessibleWidget(label, role)
    { }

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return own;
    }
};

// Asked for each class of an object from the most derived up: a class with an interface of its
// own (a dialog, a button, a label) answers before its QFrame or QWidget part is asked.
QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (const QVariant role = widget->property(roleProperty); role.isValid()) {
        if (className == QLatin1String("QLabel"))
            return new LabelAccessible(static_cast<QLabel *>(widget),
                                       QAccessible::Role(role.toInt()));
        if (className == QLatin1String("QWidget"))
            return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
    }
    if (className == QLatin1String("QFrame")) {
        const QFrame::Shape shape = static_cast<QFrame *>(widget)->frameShape();
        if (shape == QFrame::HLine || shape == QFrame::VLine)
            return new QAccessibleWidget(widget, QAccessible::Separator);
        return nullptr;
    }
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}
} // namespace

namespace AccessibleRoles {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
}

void setRole(QWidget *widget, int role)
{
    install();
    widget->setProperty(roleProperty, role);
}

} // namespace AccessibleRoles
