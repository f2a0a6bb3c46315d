// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Saves two large notes in turn, over and over, into the settings folder named on the command
// line, as the application does; prints "saved A" or "saved B" after each save is on disk. A
// test kills it at random moments and checks what the files hold.

#include "SaveLoopNotes.h"

#include "storage/NoteStore.h"
#include "storage/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: jotshelf_save_loop <settings folder>\n");
        return 2;
    }
    const QString notes[] = {SaveLoopNotes::note('A', SaveLoopNotes::sizeA()),
                             SaveLoopNotes::note('B', SaveLoopNotes::sizeB())};
    SettingsStore store(QDir(arguments.at(1)).filePath(QStringLiteral("Jotshelf.conf")));
    NoteStore note(store);
    std::printf("ready\n");
    std::fflush(stdout);
    for (qint64 round = 0;; ++round) {
        const int which = int(round % 2);
        note.setText(notes[which]);
        // A switch between the notes, so that the settings file is being replaced too.
        if (!store.setNumber(QStringLiteral("windowOpacity"), 0.5 + which * 0.25))
            return 1;
        if (!note.waitForWritten())
            return 1;
        std::printf("saved %c\n", which == 0 ? 'A' : 'B');
        std::fflush(stdout);
    }
}
