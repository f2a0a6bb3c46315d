// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/LinkDialogView.h"

#include "editor/TextStyles.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {
QLabel *makeLabel(const QString &text, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    return label;
}

QPushButton *makeButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    // Return inserts wherever the focus is (keyPressEvent), never presses the focused button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}
} // namespace

LinkDialogView::LinkDialogView(InsertCallback onInsert, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_onInsert(std::move(onInsert))
{
    setObjectName(QStringLiteral("linkDialog"));
    setWindowTitle(tr("Add Link"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(dialogWidth);

    auto *column = new QVBoxLayout(this);
    column->setSpacing(rowSpacing);

    auto *title = makeLabel(tr("Add Link"), TextStyles::headline(font()), this);
    title->setObjectName(QStringLiteral("title"));
    title->setAlignment(Qt::AlignHCenter);
    column->addWidget(title);

    auto *fields = new QVBoxLayout;
    fields->setSpacing(fieldSpacing);
    m_textField = new QLineEdit(this);
    m_textField->setObjectName(QStringLiteral("linkTextField"));
    m_textField->setPlaceholderText(tr("Enter link text"));
    m_urlField = new QLineEdit(this);
    m_urlField->setObjectName(QStringLiteral("linkURLField"));
    m_urlField->setPlaceholderText(tr("Enter URL"));
    m_textField->setAccessibleName(tr("Link Text"));
    m_textField->setAccessibleDescription(tr("The words the link shows"));
    m_urlField->setAccessibleName(tr("URL"));
    m_urlField->setAccessibleDescription(tr("The address the link points to"));
    QLabel *textLabel = makeLabel(tr("Link Text:"), TextStyles::caption(font()), this);
    textLabel->setBuddy(m_textField);
    QLabel *urlLabel = makeLabel(tr("URL:"), TextStyles::caption(font()), this);
    urlLabel->setBuddy(m_urlField);
    fields->addWidget(textLabel);
    fields->addWidget(m_textField);
    fields->addWidget(urlLabel);
    fields->addWidget(m_urlField);
    column->addLayout(fields);

    auto *buttons = new QHBoxLayout;
    m_cancelButton = makeButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setToolTip(tr("Escape"));
    m_insertButton = makeButton(tr("Insert"), this);
    m_insertButton->setObjectName(QStringLiteral("insertButton"));
    m_insertButton->setToolTip(tr("Return"));
    m_cancelButton->setAccessibleDescription(
        tr("Closes the dialog without changing the note (Escape)"));
    m_insertButton->setAccessibleDescription(tr("Adds the link at the end of the note (Return)"));
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);
    buttons->addWidget(m_insertButton);
    column->addLayout(buttons);

    connect(m_textField, &QLineEdit::textChanged, this, &LinkDialogView::updateInsertButton);
    connect(m_urlField, &QLineEdit::textChanged, this, &LinkDialogView::updateInsertButton);
    connect(m_cancelButton, &QPushButton::clicked, this, &LinkDialogView::cancel);
    connect(m_insertButton, &QPushButton::clicked, this, &LinkDialogView::insert);
    updateInsertButton();
}

QString LinkDialogView::linkText() const
{
    return m_textField->text();
}

void LinkDialogView::setLinkText(const QString &text)
{
    m_textField->setText(text);
}

QString LinkDialogView::linkURL() const
{
    return m_urlField->text();
}

void LinkDialogView::setLinkURL(const QString &url)
{
    m_urlField->setText(url);
}

bool LinkDialogView::canInsert() const
{
    return !linkText().isEmpty() && !linkURL().isEmpty();
}

void LinkDialogView::insert()
{
    if (!canInsert())
        return;
    const QString text = linkText();
    const QString url = linkURL();
    if (m_onInsert)
        m_onInsert(text, url);
    // The callback may have closed the dialog already.
    if (isVisible())
        accept();
}

void LinkDialogView::cancel()
{
    reject();
}

void LinkDialogView::present(QWidget *host)
{
    adjustSize();
    if (host) {
        // Centred on the host itself: its window may reach beyond it (the drawer's shadow).
        const QRect area(host->mapToGlobal(QPoint(0, 0)), host->size());
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    open();
    raise();
    activateWindow();
    m_textField->setFocus(Qt::OtherFocusReason);
}

void LinkDialogView::done(int result)
{
    // A window that disappears while it holds the focus sends the focus to the desktop, and a
    // window manager may then keep it there: give it back to the drawer first.
    if (QWidget *host = parentWidget(); host && host->isVisible())
        host->window()->activateWindow();
    QDialog::done(result);
    // A closed dialog leaves the accessible tree, which lists every window that exists, shown
    // or not: its native window goes once the close is done, and comes back with the next
    // showing.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isVisible() && windowHandle())
                destroy();
        },
        Qt::QueuedConnection);
}

void LinkDialogView::keyPressEvent(QKeyEvent *event)
{
    // Return and Escape as in any dialog, with or without Ctrl; Shift+Return and the like do
    // nothing, so that no other chord ends the dialog by accident.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool plainOrCtrl = modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plainOrCtrl)
            insert();
        event->accept();
        return;
    case Qt::Key_Escape:
        if (plainOrCtrl)
            cancel();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void LinkDialogView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void LinkDialogView::updateInsertButton()
{
    m_insertButton->setEnabled(canInsert());
}
