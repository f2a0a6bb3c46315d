// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/DrawerView.h"

#include "app/AppState.h"
#include "editor/LinkDialogView.h"
#include "editor/NoteBinding.h"
#include "editor/NoteEditor.h"
#include "editor/RoundedCorners.h"
#include "editor/TextStyles.h"
#include "editor/TransparentGradientView.h"
#include "platform/LinkOpener.h"

#include <QApplication>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
constexpr int maximumExtent = 1 << 20;

int toExtent(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::clamp(std::lround(value), 0L, long(maximumExtent)));
}

QFont editorFont(bool bold)
{
    QFont font = TextStyles::monospaced(QApplication::font());
    font.setBold(bold);
    return font;
}
// A thin scroll bar for the dark drawer: no arrows and no track, only a rounded thumb in the
// text colour, faint until the pointer is on it; solid in high contrast.
QString scrollBarStyle(const QColor &text, bool highContrast)
{
    const auto rgba = [&text, highContrast](double alpha) {
        return QStringLiteral("rgba(%1, %2, %3, %4)")
            .arg(text.red())
            .arg(text.green())
            .arg(text.blue())
            .arg(QString::number(highContrast ? 1.0 : alpha * text.alphaF(), 'f', 2));
    };
    const int width = highContrast ? 10 : 8;
    return QStringLiteral("QScrollBar:vertical { background: transparent; width: %1px;"
                          " margin: 2px 2px 2px 0px; }"
                          "QScrollBar::handle:vertical { background: %2; min-height: 24px;"
                          " border-radius: %3px; }"
                          "QScrollBar::handle:vertical:hover,"
                          " QScrollBar::handle:vertical:pressed { background: %4; }"
                          "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
                          " { height: 0px; border: none; background: none; }"
                          "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
                          " { background: none; }")
        .arg(width)
        .arg(rgba(0.35))
        .arg((width - 2) / 2)
        .arg(rgba(0.6));
}
} // namespace

DrawerView::DrawerView(AppState &state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("drawerView"));
    m_background = new TransparentGradientView(this);
    m_editor = new NoteEditor(this);
    m_editor->setAccessibleName(tr("Note"));
    m_editor->setAccessibleDescription(
        tr("Your note; it is saved by itself as you type. Ctrl+K adds a link"));
    m_corners = new RoundedCorners(cornerRadius, this);
    setFocusProxy(m_editor);
    m_editor->setChangeCheck(
        [this](qsizetype removed, QStringView inserted) { return noteFits(removed, inserted); });

    connect(m_editor, &NoteEditor::focusChanged, this,
            [this](bool focused) { m_isTextFieldFocused = focused; });
    connect(m_editor, &NoteEditor::linkShortcutPressed, this, &DrawerView::requestLinkInsertion);
    auto *linkOpener = new LinkOpener(this);
    connect(m_editor, &NoteEditor::linkActivated, linkOpener, &LinkOpener::open);
    connect(linkOpener, &LinkOpener::refused, this, [this](const QUrl &, const QString &message) {
        m_state.printLine(QStringLiteral("❌ ") + message);
        m_state.requestNotice(tr("Link not opened"), message);
    });
    // The editor takes Ctrl+K itself; this covers the rest of the drawer.
    auto *linkShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), this);
    linkShortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(linkShortcut, &QShortcut::activated, this, &DrawerView::requestLinkInsertion);

    state.subscribe(&AppState::windowSize, &AppState::windowSizeChanged, this, [this](QSizeF size) {
        m_stackSize = QSize(toExtent(size.width()), toExtent(size.height()));
        updateGeometry();
        placeStack();
    });
    state.subscribe(&AppState::currentMargins, &AppState::currentMarginsChanged, this,
                    [this](double margins) { applyMargins(margins); });

    state.subscribe(&AppState::useCustomColors, &AppState::useCustomColorsChanged, this,
                    [this](bool on) {
                        m_look.useCustomColors = on;
                        applyLook();
                    });
    state.subscribe(&AppState::textColor, &AppState::textColorChanged, this,
                    [this](const QColor &color) {
                        m_look.textColor = color;
                        applyLook();
                    });
    state.subscribe(&AppState::backgroundColor, &AppState::backgroundColorChanged, this,
                    [this](const QColor &color) {
                        m_look.backgroundColor = color;
                        applyLook();
                    });
    state.subscribe(&AppState::hideScrollIndicators, &AppState::hideScrollIndicatorsChanged, this,
                    [this](bool hide) {
                        m_look.hideScrollIndicators = hide;
                        applyLook();
                    });
    state.subscribe(&AppState::highContrastMode, &AppState::highContrastModeChanged, this,
                    [this](bool on) {
                        m_look.highContrastMode = on;
                        applyLook();
                    });

    // The note reaches the editor when the drawer first shows it (showEvent()), so that a
    // long note does not hold up the start.
    m_binding = new NoteBinding(state, *m_editor);
}

DrawerView::~DrawerView() = default;

QSize DrawerView::sizeHint() const
{
    return m_stackSize;
}

void DrawerView::applyLook()
{
    const Look &look = m_look;
    // A new font lays the whole note out again: only when it really changes.
    const QFont font = editorFont(look.highContrastMode);
    if (m_editor->font() != font)
        m_editor->setFont(font);

    QPalette palette = QApplication::palette(m_editor);
    const QColor text = look.useCustomColors ? look.textColor : QColor(Qt::white);
    const QColor ground = look.useCustomColors ? look.backgroundColor : QColor(Qt::black);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, ground);
    palette.setColor(QPalette::Window, ground);
    if (look.highContrastMode) {
        palette.setColor(QPalette::Highlight, Qt::yellow);
        palette.setColor(QPalette::HighlightedText, Qt::black);
    }
    m_editor->setPalette(palette);
    m_editor->setCursorWidth(look.highContrastMode ? 3 : 1);
    m_editor->setVerticalScrollBarPolicy(look.hideScrollIndicators ? Qt::ScrollBarAlwaysOff
                                                                   : Qt::ScrollBarAsNeeded);
    if (!look.hideScrollIndicators)
        m_editor->verticalScrollBar()->setStyleSheet(scrollBarStyle(text, look.highContrastMode));
}

void DrawerView::applyMargins(double margins)
{
    m_editor->setInsets(toExtent(margins), verticalInset);
}

void DrawerView::placeStack()
{
    // The window shows at most the screen, whatever a stored size asks for: the text stays
    // within reach.
    const QSize size = m_sizeLimit.isValid() ? m_stackSize.boundedTo(m_sizeLimit) : m_stackSize;
    const QRect stack((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                      size.height());
    m_background->setGeometry(stack);
    m_editor->setGeometry(stack);
    m_corners->setGeometry(stack);
}

void DrawerView::setSizeLimit(QSize limit)
{
    m_sizeLimit = limit;
    placeStack();
}

void DrawerView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeStack();
}

void DrawerView::showEvent(QShowEvent *event)
{
    m_binding->fill();
    QWidget::showEvent(event);
    focusEditor();
}

void DrawerView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // The dialog belongs to the drawer: it goes when the drawer slides away.
    if (m_linkDialog && m_linkDialog->isVisible())
        m_linkDialog->cancel();
}

void DrawerView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !showLinkDialog())
        focusEditor();
}

void DrawerView::focusEditor()
{
    m_isTextFieldFocused = true;
    m_editor->setFocus(Qt::ActiveWindowFocusReason);
}

bool DrawerView::showLinkDialog() const
{
    return m_linkDialog && m_linkDialog->isVisible();
}

QString DrawerView::linkText() const
{
    return m_linkDialog ? m_linkDialog->linkText() : QString();
}

QString DrawerView::linkURL() const
{
    return m_linkDialog ? m_linkDialog->linkURL() : QString();
}

void DrawerView::requestLinkInsertion()
{
    if (!m_state.smartLinkInsertion() || showLinkDialog())
        return;
    if (!m_linkDialog) {
        m_linkDialog = new LinkDialogView(
            [this](const QString &text, const QString &url) { insertMarkdownLink(text, url); },
            this);
        connect(m_linkDialog, &QDialog::finished, this, &DrawerView::onLinkDialogFinished);
    }
    prepareLinkInsertion();
    m_linkDialog->present(this);
}

void DrawerView::prepareLinkInsertion()
{
    if (m_linkDialog) {
        m_linkDialog->setLinkText({});
        m_linkDialog->setLinkURL({});
    }
}

bool DrawerView::noteFits(qsizetype removed, QStringView inserted)
{
    if (m_state.noteFits(removed, inserted)) {
        m_toldNoteFull = false;
        return true;
    }
    if (!std::exchange(m_toldNoteFull, true)) {
        const QString message
            = AppState::noteTooLongMessage() + QStringLiteral("; the text was not added");
        m_state.printLine(QStringLiteral("❌ ") + message.front().toUpper() + message.mid(1));
        m_state.requestNotice(tr("The note is full"), message);
    }
    return false;
}

void DrawerView::insertMarkdownLink(const QString &text, const QString &url)
{
    const QString link = u'[' + text + QStringLiteral("](") + url + u')';
    if (!noteFits(0, link))
        return;
    m_state.setNoteContent(m_state.noteContent() + link);
    // The user's own insertion: the caret goes after the link, where it was made.
    m_editor->moveCursor(QTextCursor::End);
    prepareLinkInsertion();
    if (showLinkDialog())
        m_linkDialog->accept();
}

void DrawerView::onLinkDialogFinished()
{
    if (!isVisible())
        return;
    window()->raise();
    window()->activateWindow();
    focusEditor();
}
