#pragma once

#include <QWidget>

class AppState;

/// The drawer's content: the plain-text editor bound to the note.
class DrawerView : public QWidget
{
    Q_OBJECT

public:
    explicit DrawerView(AppState &state, QWidget *parent = nullptr);
};
