// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include <csignal>
#include <sys/prctl.h>

/// A private X server for tests that need a real display: Xvfb on a free display number, 1440×900
/// in 24 bits, started by the constructor and stopped by the destructor. Works before a
/// QCoreApplication exists, so a test can start it and then open its application on it.
///
///     XvfbSession xvfb;
///     XVFB_REQUIRE(xvfb);                   // QSKIP with the reason when there is no server
///     process.setProcessEnvironment(xvfb.environment());
class XvfbSession
{
public:
    XvfbSession()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (program.isEmpty()) {
            m_error = QStringLiteral("Xvfb is not installed (Debian package xvfb)");
            return;
        }
        if (!m_runtimeDir.isValid()) {
            m_error = QStringLiteral("no temporary folder for XDG_RUNTIME_DIR");
            return;
        }
        for (int number = firstDisplay; number < firstDisplay + displayCount; ++number) {
            if (isTaken(number))
                continue;
            if (start(program, number))
                return;
        }
        if (m_error.isEmpty())
            m_error = QStringLiteral("no free X display number between :%1 and :%2")
                          .arg(firstDisplay)
                          .arg(firstDisplay + displayCount - 1);
    }

    ~XvfbSession() { stop(); }

    XvfbSession(const XvfbSession &) = delete;
    XvfbSession &operator=(const XvfbSession &) = delete;

    bool isRunning() const { return m_process && m_process->state() == QProcess::Running; }
    /// Why the server is not running.
    QString errorString() const { return m_error; }
    /// The display name, such as ":93"; empty when the server is not running.
    QString display() const { return m_display; }
    /// A private XDG_RUNTIME_DIR (mode 0700) for programs shown on this server.
    QString runtimeDir() const { return m_runtimeDir.path(); }

    /// The system environment with DISPLAY and XDG_RUNTIME_DIR set for this server and no
    /// Wayland display, for processes started on it.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return environment;
    }

    void stop()
    {
        if (!m_process)
            return;
        if (m_process->state() != QProcess::NotRunning) {
            m_process->terminate();
            if (!m_process->waitForFinished(5000)) {
                m_process->kill();
                m_process->waitForFinished(5000);
            }
        }
        m_process.reset();
        m_display.clear();
    }

private:
    static constexpr int firstDisplay = 90;
    static constexpr int displayCount = 100;
    static constexpr int startTimeoutMs = 20000;

    static bool isTaken(int number)
    {
        return QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            || QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number));
    }

    bool start(const QString &program, int number)
    {
        const QString display = QStringLiteral(":%1").arg(number);
        auto process = std::make_unique<QProcess>();
        process->setProgram(program);
        // -displayfd 1: the server writes its display number to standard output once it
        // accepts clients, so the wait ends on this server's word, not on another one's socket.
        process->setArguments({display, QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("1440x900x24"), QStringLiteral("-noreset"),
                               QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                               QStringLiteral("-displayfd"), QStringLiteral("1")});
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->setStandardErrorFile(QProcess::nullDevice());
        // A test that crashes takes its server with it.
        process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process->start();
        if (!process->waitForStarted(startTimeoutMs)) {
            m_error = QStringLiteral("Xvfb did not start: ") + process->errorString();
            return false;
        }
        QByteArray output;
        const QDeadlineTimer deadline(startTimeoutMs);
        while (!output.contains('\n')) {
            if (process->state() != QProcess::Running || deadline.hasExpired()) {
                // Most often another server took this number a moment before us.
                process->kill();
                process->waitForFinished(5000);
                m_error = QStringLiteral("Xvfb %1 did not come up").arg(display);
                return false;
            }
            process->waitForReadyRead(100);
            output += process->readAllStandardOutput();
        }
        if (output.trimmed() != QByteArray::number(number)) {
            m_error = QStringLiteral("Xvfb %1 answered %2")
                          .arg(display, QString::fromLocal8Bit(output));
            process->kill();
            process->waitForFinished(5000);
            return false;
        }
        m_process = std::move(process);
        m_display = display;
        m_error.clear();
        return true;
    }

    QTemporaryDir m_runtimeDir;
    std::unique_ptr<QProcess> m_process;
    QString m_display;
    QString m_error;
};

/// Skips the current test function when \a session has no running server, saying why.
#define XVFB_REQUIRE(session) \
    do { \
        if (!(session).isRunning()) \
            QSKIP(qPrintable(QStringLiteral("needs a private X server: ") \
                             + (session).errorString())); \
    } while (false)
