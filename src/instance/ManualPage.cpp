// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/ManualPage.h"

#include "instance/CommandLineOptions.h"
#include "platform/AppInfo.h"

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

// A tagged paragraph: \a tag in bold (already roff), then \a text.
void tagged(QStringList &lines, const QString &tag, const QString &text)
{
    lines << QStringLiteral(".TP") << tag << escaped(text);
}

QString bold(const QString &text)
{
    return QStringLiteral("\\fB%1\\fR").arg(escaped(text));
}

QString italic(const QString &text)
{
    return QStringLiteral("\\fI%1\\fR").arg(escaped(text));
}

} // namespace

QString roff()
{
    QStringList lines;
    lines << QStringLiteral(".TH JOTSHELF 1 %1 \"Jotshelf %2\" \"User Commands\"")
                 .arg(AppInfo::versionDate(), escaped(AppInfo::version()))
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
    for (const CommandLineOptions::Option &option : CommandLineOptions::all())
        lines << QStringLiteral(".TP") << optionLine(option) << escaped(option.description);

    lines << QStringLiteral(".SH EXIT STATUS");
    tagged(lines, QStringLiteral("0"),
           QStringLiteral("The command was carried out; also --hide and --quit when no Jotshelf "
                          "runs (they say \"Jotshelf is not running.\" on standard error)."));
    tagged(lines, QStringLiteral("1"),
           QStringLiteral("The command could not be delivered or carried out, and a message on "
                          "standard error says why: no display to start on, text that is not "
                          "UTF-8 or longer than 16 MB, a note that would grow past 64 MB, a note "
                          "that could not be read or saved, fewer than 64 open files allowed "
                          "(ulimit -n), standard output that could not be written."));
    tagged(lines, QStringLiteral("3"),
           QStringLiteral("The running Jotshelf took the command but did not answer within the "
                          "time a launch waits (it is stopped or busy): the command may still be "
                          "carried out. Jotshelf drops a command whose launch gave up before it "
                          "carries it out, so a retry is carried out once."));
    tagged(lines, QStringLiteral("2"),
           QStringLiteral("A usage error: an unknown option, an unexpected argument, more than "
                          "one command, --sync without --append."));

    lines << QStringLiteral(".SH ENVIRONMENT");
    tagged(lines, bold(QStringLiteral("XDG_CONFIG_HOME")),
           QStringLiteral("The settings and the note are kept in $XDG_CONFIG_HOME/Jotshelf "
                          "(~/.config/Jotshelf when it is unset)."));
    tagged(lines, bold(QStringLiteral("XDG_STATE_HOME")),
           QStringLiteral("A note that cannot be saved at quit is copied to "
                          "$XDG_STATE_HOME/Jotshelf (~/.local/state/Jotshelf when it is unset)."));
    tagged(lines, bold(QStringLiteral("XDG_RUNTIME_DIR")),
           QStringLiteral("The running Jotshelf listens on a socket in this folder, or in "
                          "a private folder of its own under /tmp when it is unset."));
    tagged(lines, bold(QStringLiteral("TMPDIR")),
           QStringLiteral("When the state folder cannot be used, the copy of the note goes into a "
                          "new private folder $TMPDIR/jotshelf-rescue-XXXXXX (/tmp when it is "
                          "unset)."));
    tagged(lines,
           QStringLiteral("%1, %2").arg(bold(QStringLiteral("DISPLAY")),
                                        bold(QStringLiteral("WAYLAND_DISPLAY"))),
           QStringLiteral("Where Jotshelf starts when none runs; a command for a running one "
                          "needs neither."));

    lines << QStringLiteral(".SH FILES");
    tagged(lines, italic(QStringLiteral("~/.config/Jotshelf/note.conf")),
           QStringLiteral("The note."));
    tagged(lines, italic(QStringLiteral("~/.config/Jotshelf/Jotshelf.conf")),
           QStringLiteral("The settings."));
    tagged(lines, italic(QStringLiteral("~/.config/Jotshelf/jotshelf.lock")),
           QStringLiteral("Locked (flock) by the Jotshelf that runs for this note; the lock "
                          "ends with that process, however it ends, and what the file holds never "
                          "blocks a launch. jotshelf.address beside it names its socket."));
    tagged(lines, italic(QStringLiteral("$XDG_RUNTIME_DIR/jotshelf-<id>.socket")),
           QStringLiteral("Where the running Jotshelf takes commands."));
    tagged(lines, italic(QStringLiteral("~/.local/state/Jotshelf/jotshelf-note-<date-time>.txt")),
           QStringLiteral("A copy of a note that could not be saved."));
    tagged(lines, italic(QStringLiteral("*.unreadable-<date-time>")),
           QStringLiteral("A settings or note file that could not be read, kept whole beside "
                          "the new one."));

    lines << QStringLiteral(".SH EXAMPLES") << QStringLiteral(".nf")
          << escaped(QStringLiteral("jotshelf --append - milk"))
          << escaped(QStringLiteral("echo \"call Ann\" | jotshelf --append --sync"))
          << escaped(QStringLiteral("jotshelf --print | grep milk")) << QStringLiteral(".fi")
          << QStringLiteral(".SH REPORTING BUGS")
          << escaped(QStringLiteral("Report bugs at %1; the home page is %2.")
                         .arg(AppInfo::bugReportUrl(), AppInfo::homepage()))
          << QStringLiteral(".SH COPYRIGHT")
          << escaped(QStringLiteral("Copyright (C) %1. License GPL-3.0-or-later: GNU GPL version "
                                    "3 or later <https://gnu.org/licenses/gpl.html>.")
                         .arg(AppInfo::copyright()))
          << escaped(QStringLiteral("This is free software: you are free to change and "
                                    "redistribute it. There is NO WARRANTY, to the extent "
                                    "permitted by law."))
          << QStringLiteral(".SH SEE ALSO")
          << QStringLiteral("\\fBgsettings\\fR(1), \\fBxfconf-query\\fR(1), \\fBsway\\fR(5) "
                            "(to bind \\fBjotshelf \\-\\-toggle\\fR to a key)")
          << QStringLiteral(".PP")
          << escaped(QStringLiteral("README.md in the documentation folder "
                                    "(/usr/share/doc/jotshelf) tells all of it."));
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
               "    # After --append the words are the text; only --sync, right after it, is "
               "offered.\n"
               "    for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
               "        if [[ $word == --append || $word == -append ]]; then\n"
               "            [[ $cur == -* && ${COMP_WORDS[COMP_CWORD-1]} == \"$word\" ]] &&\n"
               "                COMPREPLY=($(compgen -W '--sync' -- \"$cur\"))\n"
               "            return 0\n"
               "        fi\n"
               "    done\n"
               "    COMPREPLY=($(compgen -W '%1' -- \"$cur\"))\n"
               "}\n"
               "complete -F _jotshelf jotshelf\n")
        .arg(words.join(u' '));
}

} // namespace ManualPage
