#include "app/DialogPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

bool DialogPrompts::confirmClearAll(QWidget *parent)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Clear All Data"));
    box.setIcon(QMessageBox::Warning);
    box.setText(QStringLiteral("Clear All Data?"));
    box.setInformativeText(QStringLiteral("This will permanently delete all notes and reset "
                                          "settings to defaults. This action cannot be undone."));
    QPushButton *clearAll = box.addButton(QStringLiteral("Clear All"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(clearAll);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == clearAll;
}

QString DialogPrompts::chooseExportFile(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Export Notes"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
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
