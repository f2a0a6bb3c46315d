// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/DialogPrompts.h"

#include "app/ColorContrast.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {
// A dialog wears the look of the window it belongs to (the settings window's readable or dark
// palette, the desktop's font size): a window takes neither from its parent by itself.
void wearLookOf(QWidget &dialog, const QWidget *parent)
{
    if (!parent)
        return;
    dialog.setPalette(parent->palette());
    dialog.setFont(parent->font());
}

// Qt wraps a message box's informative text at a narrow width of its own; this one reads best
// on two or three lines, as wide as about sixty characters of the box's font.
void fitToText(QMessageBox &box)
{
    auto *informative = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
    if (!informative)
        return;
    const QFontMetrics metrics(informative->font());
    const int lineWidth = metrics.averageCharWidth() * 60;
    const int textWidth = metrics.horizontalAdvance(informative->text());
    informative->setMinimumWidth(std::min(lineWidth, textWidth));
}
} // namespace

bool DialogPrompts::confirmClearAll(QWidget *parent)
{
    QMessageBox box(parent);
    wearLookOf(box, parent);
    // A question to answer, not a window to keep: a title and a close button only.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                       | Qt::WindowCloseButtonHint);
    box.setWindowTitle(tr("Clear All Data"));
    box.setIcon(QMessageBox::Warning);
    box.setText(tr("Clear All Data?"));
    box.setInformativeText(tr("This will permanently delete all notes and reset "
                              "settings to defaults. This action cannot be undone."));
    // What cannot be undone is never the answer Return gives: Cancel is the default and holds
    // the focus, "Clear All" is marked destructive (its role, a red label, its description).
    QPushButton *clearAll = box.addButton(tr("Clear All"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    clearAll->setAccessibleDescription(
        tr("Deletes the note and resets every setting; cannot be undone"));
    QPalette palette = clearAll->palette();
    palette.setColor(QPalette::ButtonText,
                     ColorContrast::destructive(palette.color(QPalette::Button)));
    clearAll->setPalette(palette);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    fitToText(box);
    // A message box gives the focus to its default button when it is shown.
    cancel->setFocus();
    box.exec();
    return box.clickedButton() == clearAll;
}

QString DialogPrompts::chooseExportFile(QWidget *parent)
{
    QFileDialog dialog(parent, tr("Export Notes"));
    wearLookOf(dialog, parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Plain text only: the note is written as UTF-8 text, whatever the name.
    dialog.setNameFilter(tr("Text files (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setDirectory(QDir::homePath());
    dialog.selectFile(QStringLiteral("notes.txt"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

void DialogPrompts::showError(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text);
}
