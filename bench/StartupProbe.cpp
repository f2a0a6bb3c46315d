// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StartupProbe.h"

#include <QDir>
#include <QFile>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

double msBetween(StartupProbe::TimePoint from, StartupProbe::TimePoint to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

long long statusField(const QByteArray &status, const QByteArray &name)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

// --- Process ---------------------------------------------------------------------------------

StartupProbe::Process::~Process()
{
    if (m_output >= 0)
        ::close(m_output);
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
}

bool StartupProbe::Process::isRunning() const
{
    return m_pid > 0 && ::kill(m_pid, 0) == 0;
}

std::optional<StartupProbe::TimePoint> StartupProbe::Process::lineTime(const char *text) const
{
    for (const auto &[line, time] : m_lines) {
        if (line.find(text) != std::string::npos)
            return time;
    }
    return std::nullopt;
}

bool StartupProbe::Process::hasLine(const char *text) const
{
    return lineTime(text).has_value();
}

double StartupProbe::Process::msUntilLine(const char *text) const
{
    const auto time = lineTime(text);
    return time ? msBetween(m_started, *time) : -1;
}

double StartupProbe::Process::msUntilDocked() const
{
    return m_docked ? msBetween(m_started, *m_docked) : -1;
}

StartupProbe::TimePoint StartupProbe::Process::readyAt(const char *text) const
{
    if (*text) {
        if (const auto time = lineTime(text))
            return *time;
    }
    return m_docked.value_or(m_started);
}

long long StartupProbe::Process::rssKb() const
{
    return statusField(readProcFile(QStringLiteral("/proc/%1/status").arg(m_pid)), "VmRSS");
}

StartupProbe::Usage StartupProbe::Process::usage() const
{
    Usage usage;
    // Fields 14 and 15 of stat count the CPU time of every thread; they follow the command
    // name, which is in parentheses and may hold spaces.
    const QByteArray stat = readProcFile(QStringLiteral("/proc/%1/stat").arg(m_pid));
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    usage.ticks = fields.value(11).toLongLong() + fields.value(12).toLongLong();
    // The switch counts in status are per thread: add up every thread's.
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(m_pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const long long switches
            = statusField(readProcFile(tasks.filePath(task) + QStringLiteral("/status")),
                          "voluntary_ctxt_switches");
        if (switches > 0)
            usage.voluntarySwitches += switches;
    }
    return usage;
}

void StartupProbe::Process::readOutput()
{
    if (m_output < 0)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_output, buffer, sizeof buffer);
        if (n > 0) {
            const TimePoint now = Clock::now();
            m_partial.append(buffer, size_t(n));
            for (size_t end; (end = m_partial.find('\n')) != std::string::npos;) {
                m_lines.emplace_back(m_partial.substr(0, end), now);
                m_partial.erase(0, end + 1);
            }
            continue;
        }
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            ::close(m_output);
            m_output = -1;
        }
        return;
    }
}

// --- StartupProbe ----------------------------------------------------------------------------

StartupProbe::StartupProbe(const QByteArray &display)
    : m_display(XOpenDisplay(display.constData()))
{
    if (!m_display)
        return;
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        XCloseDisplay(m_display);
        m_display = nullptr;
        return;
    }
    m_root = DefaultRootWindow(m_display);
    // Maps, unmaps and reparents of the root window's children: top-level windows appearing
    // and tray icons being taken into the tray.
    XSelectInput(m_display, m_root, SubstructureNotifyMask);
    XSync(m_display, False);
}

StartupProbe::~StartupProbe()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool StartupProbe::waitForTray(int timeoutMs)
{
    const Atom selection = XInternAtom(m_display, "_NET_SYSTEM_TRAY_S0", False);
    const TimePoint until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < until) {
        if (XGetSelectionOwner(m_display, selection) != 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::unique_ptr<StartupProbe::Process> StartupProbe::start(const QString &program,
                                                           const QProcessEnvironment &environment)
{
    // Everything the child needs is made before fork: it only calls async-signal-safe
    // functions before exec.
    const QByteArray path = QFile::encodeName(program);
    std::vector<QByteArray> variables;
    for (const QString &entry : environment.toStringList())
        variables.push_back(entry.toLocal8Bit());
    std::vector<char *> envp;
    for (QByteArray &variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(path.constData()), nullptr};

    std::unique_ptr<Process> process(new Process);
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return process;
    // Drop whatever events came while nothing was watched.
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
    }
    process->m_started = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(pipe[1], STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execve(argv[0], argv, envp.data());
        ::_exit(127);
    }
    ::close(pipe[1]);
    if (pid < 0) {
        ::close(pipe[0]);
        return process;
    }
    ::fcntl(pipe[0], F_SETFL, O_NONBLOCK);
    process->m_pid = pid;
    process->m_output = pipe[0];
    return process;
}

void StartupProbe::readEvents(Process &process)
{
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
        const TimePoint now = Clock::now();
        switch (event.type) {
        case ReparentNotify:
            // Reported here because the root window was the old parent: the tray took it.
            if (event.xreparent.parent != m_root && !process.m_docked)
                process.m_docked = now;
            break;
        case MapNotify:
            if (event.xmap.event == m_root && !m_mappedAt) {
                m_mappedAt = now;
                m_mapped = event.xmap.window;
            }
            break;
        case UnmapNotify:
            if (event.xunmap.event == m_root && event.xunmap.window == m_mapped)
                m_unmapped = true;
            break;
        default:
            break;
        }
    }
}

bool StartupProbe::pump(Process &process, TimePoint until, const std::function<bool()> &done)
{
    const int xFd = ConnectionNumber(m_display);
    for (;;) {
        readEvents(process);
        process.readOutput();
        if (done && done())
            return true;
        const TimePoint now = Clock::now();
        if (now >= until)
            return false;
        pollfd fds[2] = {{xFd, POLLIN, 0}, {process.m_output, POLLIN, 0}};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
        ::poll(fds, process.m_output >= 0 ? 2 : 1, int(left));
    }
}

bool StartupProbe::waitUntil(Process &process, const std::function<bool()> &ready, int timeoutMs)
{
    const TimePoint until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    return pump(process, until, [&] { return ready() || !process.isRunning(); }) && ready();
}

void StartupProbe::idleUntil(Process &process, TimePoint until)
{
    pump(process, until, {});
}

void StartupProbe::sendAltGrave(TimePoint *pressedAt)
{
    const KeyCode alt = XKeysymToKeycode(m_display, XK_Alt_L);
    const KeyCode grave = XKeysymToKeycode(m_display, XK_grave);
    XTestFakeKeyEvent(m_display, alt, True, CurrentTime);
    XSync(m_display, False); // Alt is down before the clock starts
    *pressedAt = Clock::now();
    XTestFakeKeyEvent(m_display, grave, True, CurrentTime);
    XTestFakeKeyEvent(m_display, grave, False, CurrentTime);
    XTestFakeKeyEvent(m_display, alt, False, CurrentTime);
    XFlush(m_display);
}

std::optional<double> StartupProbe::toggleUntilMapped(Process &process, const char *windowName)
{
    readEvents(process);
    m_mappedAt.reset();
    m_mapped = 0;
    TimePoint pressed;
    sendAltGrave(&pressed);
    if (!pump(process, pressed + std::chrono::seconds(10),
              [this] { return m_mappedAt.has_value(); }))
        return std::nullopt;
    const double ms = msBetween(pressed, *m_mappedAt);
    char *name = nullptr;
    const bool named
        = XFetchName(m_display, m_mapped, &name) && name && std::strcmp(name, windowName) == 0;
    if (name)
        XFree(name);
    return named ? std::optional<double>(ms) : std::nullopt;
}

bool StartupProbe::toggleUntilUnmapped(Process &process)
{
    m_unmapped = false;
    TimePoint pressed;
    sendAltGrave(&pressed);
    return pump(process, pressed + std::chrono::seconds(10), [this] { return m_unmapped; });
}
