// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ShutdownSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler's end of the pair. A signal handler has no context of its own, so this is the
// one piece of process-wide state the handler may touch.
int s_writeFd = -1;
int s_readFd = -1;
constexpr std::array<int, 3> handledSignals = {SIGTERM, SIGINT, SIGHUP};

extern "C" void forwardSignal(int signalNumber)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_writeFd, &byte, 1);
    errno = saved;
}
} // namespace

ShutdownSignals::ShutdownSignals(QObject *parent)
    : QObject(parent)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0)
        return;
    s_writeFd = fds[0];
    s_readFd = fds[1];
    m_notifier = new QSocketNotifier(s_readFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : handledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

ShutdownSignals::~ShutdownSignals()
{
    if (s_readFd < 0)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : handledSignals)
        ::sigaction(signalNumber, &action, nullptr);
    ::close(s_writeFd);
    ::close(s_readFd);
    s_writeFd = s_readFd = -1;
}

void ShutdownSignals::readSignal()
{
    unsigned char byte = 0;
    while (::read(s_readFd, &byte, 1) == 1)
        Q_EMIT received(byte);
}
