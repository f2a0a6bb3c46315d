#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>
#include <QStringList>

/// One running jotshelf binary (JOTSHELF_BINARY) with its own home, its output collected line
/// by line; killed when it goes.
class JotshelfProcess
{
public:
    JotshelfProcess(const QString &binary, const QProcessEnvironment &environment,
                    const QString &home)
    {
        QProcessEnvironment env = environment;
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(binary, {});
    }

    ~JotshelfProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    /// Every line printed so far.
    QStringList lines()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    /// Waits until a line printed so far contains \a text.
    bool waitForLine(const QString &text, int timeoutMs = 15000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (!lines().filter(text).isEmpty())
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return !lines().filter(text).isEmpty();
            m_process.waitForReadyRead(100);
        }
        return false;
    }

    QProcess &process() { return m_process; }

    /// The note as the running or ended jotshelf of \a home wrote it.
    static QString storedNote(const QString &home)
    {
        const QSettings note(home + QStringLiteral("/.config/Jotshelf/note.conf"),
                             QSettings::IniFormat);
        return note.value(QStringLiteral("noteContent")).toString();
    }

private:
    QProcess m_process;
    QString m_output;
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
