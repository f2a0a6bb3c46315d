// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "TestAppState.h"

#include "app/AppState.h"
#include "drawer/BorderlessWindow.h"
#include "editor/DrawerView.h"
#include "editor/NoteBinding.h"
#include "editor/NoteEditor.h"

#include <QTest>
#include <QTextCursor>

/// The application's drawer, shown, with its editor view: a model on test services whose
/// drawer slides in at once.
///
///     OpenDrawer d;                  // or OpenDrawer d([](TestAppState &t) { t.seed(...); });
///     QTest::keyClicks(d.editor, "- item");
class OpenDrawer
{
public:
    explicit OpenDrawer(const std::function<void(TestAppState &)> &prepare = {})
        : state(start(t, prepare))
    {
        t.instantSlides();
        window = state.drawerWindow();
        view = qobject_cast<DrawerView *>(window->content());
        editor = view->editor();
        state.toggleDrawer();
    }

    static AppState &start(TestAppState &t, const std::function<void(TestAppState &)> &prepare)
    {
        if (prepare)
            prepare(t);
        return t.start();
    }

    /// What the editor's document holds, character for character.
    QString shown() const { return view->binding()->documentText(); }

    void placeCaret(int position)
    {
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(position);
        editor->setTextCursor(cursor);
    }

    int caret() const { return editor->textCursor().position(); }
    int documentEnd() const { return editor->document()->characterCount() - 1; }

    TestAppState t;
    AppState &state;
    BorderlessWindow *window = nullptr;
    DrawerView *view = nullptr;
    NoteEditor *editor = nullptr;
};
