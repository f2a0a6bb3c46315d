// PLACEHOLDER: the editor helper replaces this file.
#include "editor/DrawerView.h"

DrawerView::DrawerView(AppState &state, QWidget *parent)
    : QWidget(parent)
{
    Q_UNUSED(state)
}
