// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <memory>

#include <csignal>
#include <sys/prctl.h>

/// A D-Bus session bus of the test's own: dbus-daemon on a socket in a temporary folder, with no
/// service directories, so that no real portal or notification server is started on it. Started
/// by the constructor, stopped by the destructor; works before a QCoreApplication exists.
///
///     PrivateSessionBus bus;
///     DBUS_REQUIRE(bus);                    // QSKIP with the reason when there is no daemon
///     QDBusConnection client = bus.connect(QStringLiteral("client"));
///     QDBusConnection another = bus.connect();
///     bus.disconnectAll();                  // what the connections own is free again
class PrivateSessionBus
{
public:
    PrivateSessionBus()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (program.isEmpty()) {
            m_error = QStringLiteral("dbus-daemon is not installed (Debian package dbus)");
            return;
        }
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary folder for the bus socket");
            return;
        }
        const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            m_error = QStringLiteral("cannot write %1").arg(config);
            return;
        }
        file.write(
            QStringLiteral(
                R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)")
                .arg(m_dir.path())
                .toUtf8());
        file.close();

        auto process = std::make_unique<QProcess>();
        process->setProgram(program);
        process->setArguments({QStringLiteral("--config-file=") + config,
                               QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        process->setStandardErrorFile(QProcess::nullDevice());
        // A test that crashes takes its bus with it.
        process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process->start();
        if (!process->waitForStarted(startTimeoutMs)) {
            m_error = QStringLiteral("dbus-daemon did not start: ") + process->errorString();
            return;
        }
        QByteArray output;
        const QDeadlineTimer deadline(startTimeoutMs);
        while (!output.contains('\n')) {
            if (process->state() != QProcess::Running || deadline.hasExpired()) {
                process->kill();
                process->waitForFinished(5000);
                m_error = QStringLiteral("dbus-daemon printed no address");
                return;
            }
            process->waitForReadyRead(100);
            output += process->readAllStandardOutput();
        }
        m_address = QString::fromUtf8(output.left(output.indexOf('\n')).trimmed());
        m_process = std::move(process);
    }

    ~PrivateSessionBus()
    {
        disconnectAll();
        if (!m_process)
            return;
        m_process->terminate();
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }

    PrivateSessionBus(const PrivateSessionBus &) = delete;
    PrivateSessionBus &operator=(const PrivateSessionBus &) = delete;

    bool isRunning() const { return m_process && m_process->state() == QProcess::Running; }
    QString errorString() const { return m_error; }
    /// The address to hand to clients (DBUS_SESSION_BUS_ADDRESS).
    QString address() const { return m_address; }

    /// A connection of its own to this bus, named \a name within the process.
    QDBusConnection connect(const QString &name)
    {
        m_connections << name;
        return QDBusConnection::connectToBus(m_address, name);
    }
    /// A connection of its own under a name of the bus's choosing.
    QDBusConnection connect()
    {
        return connect(QStringLiteral("private-session-bus-%1").arg(++m_connectionsMade));
    }
    /// Closes every connection made here: the names and objects they registered are free again.
    void disconnectAll()
    {
        for (const QString &name : std::as_const(m_connections))
            QDBusConnection::disconnectFromBus(name);
        m_connections.clear();
    }

    /// Makes this bus the whole process's session bus, for a test's main() before its
    /// application: what the code under test sends on the session bus reaches the test's stand-ins.
    /// When the bus does not run there is none, so that nothing reaches the user's own.
    void serveAsSessionBus() const
    {
        if (isRunning())
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        else
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }

private:
    static constexpr int startTimeoutMs = 20000;

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_address;
    QString m_error;
    QStringList m_connections;
    int m_connectionsMade = 0;
};

/// Skips the current test function when \a bus is not running, saying why.
#define DBUS_REQUIRE(bus) \
    do { \
        if (!(bus).isRunning()) \
            QSKIP(qPrintable(QStringLiteral("needs a private D-Bus session bus: ") \
                             + (bus).errorString())); \
    } while (false)
