// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

/// A `jotshelf` started by a test and left running, whose standard output it reads as it comes.
class LaunchedJotshelf
{
public:
    LaunchedJotshelf(const QProcessEnvironment &environment, const QStringList &arguments,
                     const QString &program = QStringLiteral(JOTSHELF_BINARY))
    {
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
    }

    /// \a environment (a display's) with \a home as the home and its `.config` as the config
    /// folder, on the display's own platform.
    static QProcessEnvironment withHome(QProcessEnvironment environment, const QString &home)
    {
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return environment;
    }

    /// The note as the running or ended jotshelf of a home made by withHome() wrote it.
    static QString storedNote(const QString &home)
    {
        const QSettings note(home + QStringLiteral("/.config/Jotshelf/note.conf"),
                             QSettings::IniFormat);
        return note.value(QStringLiteral("noteContent")).toString();
    }

    ~LaunchedJotshelf()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    /// Waits until \a text appears on standard output after what the last wait found.
    bool waitFor(const QString &text, int timeoutMs = 20000)
    {
        return waitForAny({text}, timeoutMs);
    }

    /// Waits for the hot key's first line, printed once the instance listens: whether the key
    /// could be had depends on the platform.
    bool waitForStart()
    {
        return waitForAny({QStringLiteral("❌ Failed to register global hotkey. Status: "),
                           QStringLiteral("✅ Global hotkey")});
    }

    bool waitForAny(const QStringList &texts, int timeoutMs = 20000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            m_output += m_process.readAllStandardOutput();
            for (const QString &text : texts) {
                const QByteArray needle = text.toUtf8();
                const qsizetype at = m_output.indexOf(needle, m_seen);
                if (at >= 0) {
                    m_seen = at + needle.size();
                    return true;
                }
            }
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
    }

    /// Every line printed so far.
    QStringList lines()
    {
        m_output += m_process.readAllStandardOutput();
        return QString::fromUtf8(m_output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    /// Waits until any line printed so far, also before the last wait, contains \a text.
    bool waitForLine(const QString &text, int timeoutMs = 15000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            m_output += m_process.readAllStandardOutput();
            if (m_output.contains(text.toUtf8()))
                return true;
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(
                int(qBound(qint64(1), deadline.remainingTime(), qint64(100))));
        }
    }

    QProcess &process() { return m_process; }

    bool finishedWithSuccess()
    {
        return m_process.waitForFinished(20000) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    void crash()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    /// Everything read so far, and the errors, for failure messages.
    QByteArray output()
    {
        m_output += m_process.readAllStandardOutput();
        return m_output + m_process.readAllStandardError();
    }

private:
    QProcess m_process;
    QByteArray m_output;
    qsizetype m_seen = 0;
};

/// Runs \a program to its end and returns what it printed, trimmed.
inline QString runProgram(const QProcessEnvironment &environment, const QString &program,
                          const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

/// How a launch of `jotshelf` ended.
struct Finished
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

/// A home of the test's own for the real binary: config and runtime folders inside a temporary
/// folder, and the environments of a command launch (no display at all) and of an instance
/// (offscreen).
class JotshelfHome
{
public:
    JotshelfHome()
    {
        QDir().mkdir(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path(const QString &name = {}) const
    {
        return name.isEmpty() ? m_home.path() : m_home.filePath(name);
    }
    QString runtimeDir() const { return path(QStringLiteral("run")); }
    QString noteFolder() const { return path(QStringLiteral("config/Jotshelf")); }
    QString notePath() const { return noteFolder() + QStringLiteral("/note.conf"); }

    /// No display at all: what a shell or a desktop's key binding may have.
    QProcessEnvironment commandEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY",
                                 "XDG_SESSION_TYPE", "DBUS_SESSION_BUS_ADDRESS"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        environment.insert(QStringLiteral("TMPDIR"), path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        return environment;
    }

    QProcessEnvironment instanceEnvironment() const
    {
        QProcessEnvironment environment = commandEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    Finished run(const QStringList &arguments, const QByteArray &input = {},
                 const QProcessEnvironment &environment = {}) const
    {
        QProcess process;
        process.setProcessEnvironment(environment.isEmpty() ? commandEnvironment() : environment);
        process.start(QStringLiteral(JOTSHELF_BINARY), arguments);
        process.write(input);
        process.closeWriteChannel();
        Finished result;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        if (process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    std::unique_ptr<LaunchedJotshelf> launchInstance(const QStringList &arguments = {}) const
    {
        return std::make_unique<LaunchedJotshelf>(instanceEnvironment(), arguments);
    }

private:
    QTemporaryDir m_home;
};
