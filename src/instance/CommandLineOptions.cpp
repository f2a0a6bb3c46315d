// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/CommandLineOptions.h"

namespace CommandLineOptions {

const QList<Option> &all()
{
    static const QList<Option> options = {
        {{QStringLiteral("toggle")},
         {},
         QStringLiteral("Show the drawer when it is hidden, hide it when it is shown (what Alt+` "
                        "does). Starts Jotshelf when it does not run.")},
        {{QStringLiteral("show")},
         {},
         QStringLiteral("Show the drawer. Starts Jotshelf when it does not run.")},
        {{QStringLiteral("hide")}, {}, QStringLiteral("Hide the drawer.")},
        {{QStringLiteral("settings")},
         {},
         QStringLiteral("Open the settings window. Starts Jotshelf when it does not run.")},
        {{QStringLiteral("quit")},
         {},
         QStringLiteral("Quit Jotshelf, after writing whatever still waits to be saved. Fails "
                        "when the note could not be saved, and says where a copy went.")},
        {{QStringLiteral("append")},
         QStringLiteral("TEXT..."),
         QStringLiteral("Append TEXT (the words that follow, or standard input when there are "
                        "none) to the end of the note, on a line of its own, as typing it there "
                        "would; lists continue. Starts Jotshelf hidden when it does not run. "
                        "The text must be UTF-8, at most 16 MB.")},
        {{QStringLiteral("sync")},
         {},
         QStringLiteral("With --append, before the text: end only once the note is on disk.")},
        {{QStringLiteral("print")},
         {},
         QStringLiteral("Write the note to standard output exactly as stored (UTF-8), from the "
                        "running Jotshelf or from the note file.")},
        {{QStringLiteral("help"), QStringLiteral("h")}, {}, QStringLiteral("Show this help.")},
        {{QStringLiteral("version"), QStringLiteral("v")}, {}, QStringLiteral("Show the version.")},
    };
    return options;
}

QStringList synopsis()
{
    return {QStringLiteral("jotshelf [--toggle | --show | --hide | --settings | --quit]"),
            QStringLiteral("jotshelf --append [--sync] [--] [TEXT...]"),
            QStringLiteral("jotshelf --print")};
}

QString summary()
{
    return QStringLiteral("Jotshelf, a notepad in the system tray.\nWithout an option it starts "
                          "Jotshelf, or shows the drawer of the Jotshelf that runs.");
}

} // namespace CommandLineOptions
