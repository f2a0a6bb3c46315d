// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

typedef struct _XDisplay Display;

/// An X client on the bench's server that starts programs and timestamps what they do: the
/// lines they print (read from a pipe as they come), their tray icon being docked (the tray
/// reparents it away from the root window) and windows being mapped and unmapped on the root
/// window. It sends keys through XTest, as `xdotool key` does, and reads a process's memory,
/// CPU time and context switches from /proc.
class StartupProbe
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    struct Usage
    {
        long long ticks = 0; // utime + stime, in clock ticks
        long long voluntarySwitches = 0; // summed over all threads
    };

    /// One started program; ended (SIGTERM, then SIGKILL) when destroyed.
    class Process
    {
    public:
        ~Process();
        Process(const Process &) = delete;
        Process &operator=(const Process &) = delete;

        bool isRunning() const;
        bool hasLine(const char *text) const;
        /// Milliseconds from the start until the first line containing \a text.
        double msUntilLine(const char *text) const;
        bool docked() const { return m_docked.has_value(); }
        double msUntilDocked() const;
        /// When the line with \a text came, or when the icon was docked for an empty text.
        TimePoint readyAt(const char *text) const;
        long long rssKb() const;
        Usage usage() const;

    private:
        friend class StartupProbe;
        Process() = default;
        std::optional<TimePoint> lineTime(const char *text) const;
        void readOutput();

        pid_t m_pid = -1;
        int m_output = -1;
        TimePoint m_started;
        std::string m_partial;
        std::vector<std::pair<std::string, TimePoint>> m_lines;
        std::optional<TimePoint> m_docked;
    };

    explicit StartupProbe(const QByteArray &display);
    ~StartupProbe();
    StartupProbe(const StartupProbe &) = delete;
    StartupProbe &operator=(const StartupProbe &) = delete;

    bool isConnected() const { return m_display != nullptr; }
    /// Waits until a tray owns the system tray selection.
    bool waitForTray(int timeoutMs);

    std::unique_ptr<Process> start(const QString &program, const QProcessEnvironment &environment);
    /// Watches \a process until \a ready holds; false after \a timeoutMs.
    bool waitUntil(Process &process, const std::function<bool()> &ready, int timeoutMs);
    /// Lets \a process be until \a until, without touching it.
    void idleUntil(Process &process, TimePoint until);
    /// Sends Alt+` and waits until a window named \a windowName is mapped; the milliseconds
    /// from the key press to the map.
    std::optional<double> toggleUntilMapped(Process &process, const char *windowName);
    /// Sends Alt+` and waits until the window last mapped is unmapped again.
    bool toggleUntilUnmapped(Process &process);

private:
    /// Reads output and X events until \a until or until \a done holds.
    bool pump(Process &process, TimePoint until, const std::function<bool()> &done);
    void readEvents(Process &process);
    void sendAltGrave(TimePoint *pressedAt);

    Display *m_display = nullptr;
    unsigned long m_root = 0;
    std::optional<TimePoint> m_mappedAt;
    unsigned long m_mapped = 0;
    bool m_unmapped = false;
};
