// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "instance/InstanceCommand.h"

#include <QString>
#include <QStringList>

#include <optional>

/// The command line of `jotshelf`: at most one of --toggle, --show, --hide, --settings,
/// --quit, --append and --print, or --help or --version. Every word after --append is the text
/// to append (but for --sync and a "--" ending the options right after it), so that a list item
/// such as "- milk" needs no quoting rules. Parsing needs no application object, so
/// that a launch which only talks to the running instance never opens a display. The options of
/// Qt's own GUI (-platform, -display, -session...) are accepted and left to the application;
/// this parse is the one place that reads which platform and display they name.
class CommandLine
{
public:
    enum class Action {
        /// Hand the request to the running instance, or become it.
        Run,
        PrintHelp,
        PrintVersion,
        /// The manual page, jotshelf(1), in roff (made at build time).
        PrintManual,
        /// The bash completion script (made at build time).
        PrintCompletion,
        /// A usage error: text() says what is wrong.
        Fail,
    };

    /// Exit status of a usage error.
    static constexpr int usageError = 2;
    /// Exit status when the help or the version could not be written.
    static constexpr int cannotWrite = 1;

    /// Parses \a arguments, the program name first.
    static CommandLine parse(const QStringList &arguments);
    /// The process arguments in the local 8-bit encoding, as Qt decodes them.
    static QStringList argumentsOf(int argc, char *argv[]);

    Action action() const { return m_action; }
    /// The command the user named; nothing for a plain launch.
    std::optional<InstanceCommand> command() const { return m_command; }
    /// What the running instance is asked: the named command, or showing the drawer.
    InstanceCommand request() const { return m_command.value_or(InstanceCommand::Show); }
    /// Whether this launch starts Jotshelf when none runs.
    bool startsInstance() const
    {
        return !m_command || InstanceCommands::startsInstance(*m_command);
    }
    /// --append: the words of the text, joined by spaces; none means standard input.
    const QStringList &words() const { return m_words; }
    /// --append --sync: the launch ends once the note is on disk.
    bool sync() const { return m_sync; }
    /// An instance started for a command opens no drawer by itself.
    bool startHidden() const { return m_startHidden; }
    /// The platform Qt's -platform option names (`-platform x`, `-platform=x`, one dash or two);
    /// empty without it.
    QString platform() const { return m_platform; }
    /// Qt's -platform and -display options with their values, for an instance started for this
    /// launch to open the same display.
    const QStringList &displayArguments() const { return m_displayArguments; }
    /// The help, the version line, the manual, the completion or the error message.
    QString text() const { return m_text; }
    int exitCode() const { return m_action == Action::Fail ? usageError : 0; }

    /// Prints text() (to standard error for a usage error) and returns exitCode(), or
    /// cannotWrite when standard output took not all of it.
    int report() const;

private:
    Action m_action = Action::Run;
    std::optional<InstanceCommand> m_command;
    QStringList m_words;
    bool m_sync = false;
    bool m_startHidden = false;
    QString m_platform;
    QStringList m_displayArguments;
    QString m_text;
};
