// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/ManualPage.h"

#include "instance/CommandLineOptions.h"

#include <QStringList>

namespace ManualPage {

QString escaped(const QString &text)
{
    QString result;
    result.reserve(text.size() + 16);
    for (const QChar c : text) {
        if (c == u'\\')
            result += QStringLiteral("\\e");
        else if (c == u'-')
            result += QStringLiteral("\\-");
        else if (c == u'`')
            result += QStringLiteral("\\(ga");
        else if (c == u'\'')
            result += QStringLiteral("\\(aq");
        else
            result += c;
    }
    // A line starting with a full stop or an apostrophe would be read as a request.
    if (result.startsWith(u'.'))
        result.prepend(QStringLiteral("\\&"));
    return result;
}

namespace {

QString optionLine(const CommandLineOptions::Option &option)
{
    QStringList forms;
    for (const QString &name : option.names) {
        const QString dashes = name.size() == 1 ? QStringLiteral("\\-") : QStringLiteral("\\-\\-");
        forms << QStringLiteral("\\fB%1%2\\fR").arg(dashes, escaped(name));
    }
    QString line = forms.join(QStringLiteral(", "));
    if (!option.valueName.isEmpty())
        line += QStringLiteral(" [\\fI%1\\fR]").arg(escaped(option.valueName));
    return line;
}

} // namespace

QString roff()
{
    QStringList lines;
    lines << QStringLiteral(".TH JOTSHELF 1 \"\" \"Jotshelf %1\" \"User Commands\"")
                 .arg(QStringLiteral(JOTSHELF_VERSION))
          << QStringLiteral(".SH NAME")
          << QStringLiteral("jotshelf \\- a notepad in the system tray, with one note")
          << QStringLiteral(".SH SYNOPSIS");
    bool first = true;
    for (const QString &usage : CommandLineOptions::synopsis()) {
        if (!first)
            lines << QStringLiteral(".br");
        first = false;
        lines << escaped(usage);
    }
    lines << QStringLiteral(".SH DESCRIPTION")
          << escaped(CommandLineOptions::summary().section(u'\n', 1))
          << escaped(QStringLiteral("Alt+` shows or hides a drawer that slides in from an edge of "
                                    "the screen; whatever is typed there is saved by itself half "
                                    "a second later."))
          << QStringLiteral(".PP")
          << escaped(QStringLiteral("Only one Jotshelf runs for a note: a later launch hands its "
                                    "command to the one that runs and ends once that one has "
                                    "carried it out. These commands need no display."))
          << QStringLiteral(".SH OPTIONS");
    for (const CommandLineOptions::Option &option : CommandLineOptions::all()) {
        lines << QStringLiteral(".TP") << optionLine(option) << escaped(option.description);
    }
    lines << QStringLiteral(".SH EXIT STATUS") << QStringLiteral(".TP") << QStringLiteral("0")
          << QStringLiteral("The command was carried out.") << QStringLiteral(".TP")
          << QStringLiteral("1")
          << escaped(QStringLiteral("The command could not be delivered or carried out (the "
                                    "message says why): no display to start on, text that is not "
                                    "UTF-8 or too long, a note that would grow past 64 MB, a note "
                                    "that could not be read or saved, fewer than 64 open files "
                                    "allowed (ulimit -n)."))
          << QStringLiteral(".TP") << QStringLiteral("2") << QStringLiteral("An unknown option.")
          << QStringLiteral(".TP") << QStringLiteral("3")
          << escaped(QStringLiteral("The running Jotshelf took the command but did not answer "
                                    "within the time a launch waits (it is stopped or busy): the "
                                    "command may still be carried out. Jotshelf drops a command "
                                    "whose launch gave up before it carries it out, so a retry "
                                    "is carried out once."))
          << QStringLiteral(".SH FILES") << QStringLiteral(".TP")
          << escaped(QStringLiteral("~/.config/Jotshelf/note.conf"))
          << escaped(QStringLiteral("The note (under $XDG_CONFIG_HOME when it is set)."))
          << QStringLiteral(".TP") << escaped(QStringLiteral("~/.config/Jotshelf/Jotshelf.conf"))
          << QStringLiteral("The settings.") << QStringLiteral(".TP")
          << escaped(QStringLiteral("~/.config/Jotshelf/jotshelf.lock"))
          << escaped(QStringLiteral("Locked (flock) by the Jotshelf that runs for this note; "
                                    "the lock ends with that process, however it ends, and what "
                                    "the file holds never blocks a launch."))
          << QStringLiteral(".SH EXAMPLES") << QStringLiteral(".nf")
          << escaped(QStringLiteral("jotshelf --append - milk"))
          << escaped(QStringLiteral("echo \"call Ann\" | jotshelf --append --sync"))
          << escaped(QStringLiteral("jotshelf --print | grep milk")) << QStringLiteral(".fi");
    return lines.join(u'\n') + u'\n';
}

QString bashCompletion()
{
    QStringList words;
    for (const CommandLineOptions::Option &option : CommandLineOptions::all()) {
        for (const QString &name : option.names)
            words << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    return QStringLiteral(
               "# bash completion for jotshelf(1), made by `jotshelf --bash-completion`\n"
               "_jotshelf()\n"
               "{\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} word\n"
               "    COMPREPLY=()\n"
               "    # After --append the words are the text; only --sync is still offered.\n"
               "    for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
               "        if [[ $word == --append || $word == -append ]]; then\n"
               "            [[ $cur == -* ]] && COMPREPLY=($(compgen -W '--sync' -- \"$cur\"))\n"
               "            return 0\n"
               "        fi\n"
               "    done\n"
               "    COMPREPLY=($(compgen -W '%1' -- \"$cur\"))\n"
               "}\n"
               "complete -F _jotshelf jotshelf\n")
        .arg(words.join(u' '));
}

} // namespace ManualPage
