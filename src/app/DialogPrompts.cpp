// PLACEHOLDER: the settings helper replaces this file.
#include "app/DialogPrompts.h"

bool DialogPrompts::confirmClearAll(QWidget *)
{
    return false;
}
QString DialogPrompts::chooseExportFile(QWidget *)
{
    return {};
}
void DialogPrompts::showError(QWidget *, const QString &, const QString &) { }
