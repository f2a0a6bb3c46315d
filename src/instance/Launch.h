// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "instance/CommandLine.h"
#include "instance/SingleInstance.h"

#include <QByteArray>
#include <QString>

#include <optional>

/// A launch's own part of a command, before (and instead of) any application: it reads the
/// text to append, hands the request to the running instance, prints what --print brings back,
/// starts a hidden instance for --append when none runs, and reads the note file for --print
/// when none runs. None of it needs a display.
class Launch
{
public:
    /// The exit status of a command the running instance took but did not answer in time: it
    /// may still be carried out (the instance drops it if it finds the launch gone first).
    static constexpr int exitMayStillHappen = 3;

    /// How long an instance started for --append may take to answer.
    static constexpr int startPatienceMs = 20000;

    Launch(const CommandLine &commandLine, SingleInstance &instance);

    /// Carries the command out. The exit status, or nothing when this process holds the lock
    /// and is to become the instance.
    std::optional<int> run(int argc, char *argv[]);

    /// The text of --append: the words joined by spaces, or standard input. Nothing, and
    /// \a error says why, when it is not UTF-8 or longer than the limit.
    static std::optional<QByteArray> appendText(const CommandLine &commandLine, int argc,
                                                char *argv[], QString *error);
    /// The stored note in UTF-8, read from the note file next to \a settingsFile; nothing, and
    /// \a error says why, when it cannot be read.
    static std::optional<QByteArray> storedNote(const QString &settingsFile, QString *error);

    /// The most files the instance may need open at once: the display, the bus, its socket
    /// with every waiting connection, the note's files and a wake-up descriptor per thread.
    static constexpr int neededFiles = 64;
    /// Raises this process's limit of open files to neededFiles where the hard limit allows;
    /// false, and \a error says why, when it does not. Below it the instance would fail half-way
    /// (Qt and GLib end the process when a thread cannot get its wake-up descriptor).
    static bool raiseFileLimit(QString *error);

    /// Whether an instance started for \a commandLine can open a display (or is told which
    /// platform).
    static bool hasDisplay(const CommandLine &commandLine);

private:
    int deliverAfterStart(const InstanceRequest &request);
    int printReply(const QByteArray &bytes);

    const CommandLine &m_commandLine;
    SingleInstance &m_instance;
};
