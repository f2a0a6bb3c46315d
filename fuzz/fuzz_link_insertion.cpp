// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A link inserted into any note, with any text and address: the note ends with "[text](url)"
// exactly as given, what came before is untouched, the list rule does not fire on it, and the
// drawer's editor shows the same note.

#include "FakeHotkeyBackend.h"
#include "FakePrompts.h"
#include "FuzzInput.h"

#include "FixedScreenSource.h"
#include "app/AppState.h"
#include "drawer/BorderlessWindow.h"
#include "drawer/DrawerController.h"
#include "drawer/SlideAnimator.h"
#include "editor/DrawerView.h"
#include "editor/NoteBinding.h"
#include "storage/SettingsStore.h"
#include "tray/Subsystems.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct World
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state;
    DrawerView *view = nullptr;
};

World *world = nullptr;

[[noreturn]] void fail(const char *what, const QString &note, const QString &text,
                       const QString &url)
{
    std::fprintf(stderr, "%s\nnote: \"%s\"\ntext: \"%s\"\nurl: \"%s\"\n", what,
                 qPrintable(note.toHtmlEscaped()), qPrintable(text.toHtmlEscaped()),
                 qPrintable(url.toHtmlEscaped()));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv); // lives as long as the process
    world = new World;
    AppServices services;
    services.store = std::make_unique<SettingsStore>(
        world->dir.filePath(QStringLiteral("Jotshelf/Jotshelf.conf")));
    services.screens
        = std::make_shared<FixedScreenSource>(QRectF(0, 0, 1440, 900), QRectF(0, 75, 1440, 800));
    services.hotkeys = std::make_unique<FakeHotkeyBackend>();
    services.prompts = std::make_unique<FakePrompts>();
    services.console = [](const QString &) {};
    Subsystems::provide(services);
    world->state = std::make_unique<AppState>(std::move(services));
    world->view = qobject_cast<DrawerView *>(world->state->drawerWindow()->content());
    if (!world->view)
        std::abort();
    // Fonts and caches load on first use; load them now, so that leak checks of single inputs
    // see only what an insertion keeps.
    world->state->setNoteContent(QStringLiteral("• warm\n"));
    world->view->insertMarkdownLink(QStringLiteral("日本 😀"), QStringLiteral("x"));
    static_cast<DrawerController &>(world->state->drawer()).slides().setDurationScale(0);
    world->state->toggleDrawer();
    QCoreApplication::processEvents();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The note, the link's text and its address, split at the first two 0xFF bytes (no UTF-8
    // text holds one).
    const QByteArrayView input(data, qsizetype(size));
    const qsizetype first = input.indexOf('\xff');
    const qsizetype second = first < 0 ? -1 : input.indexOf('\xff', first + 1);
    if (second < 0)
        return -1;
    const auto part
        = [&](qsizetype from, qsizetype to) { return fuzzText(data + from, size_t(to - from)); };
    const QString note = part(0, first);
    const QString text = part(first + 1, second);
    const QString url = part(second + 1, qsizetype(size));

    AppState &state = *world->state;
    state.setNoteContent(note);
    // The list rule may have continued the note; the link goes after whatever it holds now.
    const QString before = state.noteContent();
    world->view->insertMarkdownLink(text, url);
    const QString link = u'[' + text + QStringLiteral("](") + url + u')';
    if (state.noteContent() != before + link)
        fail("the note is not the note before it and the link", before, text, url);
    if (world->view->showLinkDialog() || !world->view->linkText().isEmpty()
        || !world->view->linkURL().isEmpty())
        fail("the link dialog was not closed and cleared", before, text, url);
    if (world->view->binding()->documentText() != NoteBinding::documentForm(state.noteContent()))
        fail("the editor does not show the note", before, text, url);
    return 0;
}
