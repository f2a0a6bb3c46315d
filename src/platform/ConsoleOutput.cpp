// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ConsoleOutput.h"

#include <cstdio>

namespace {

bool writeTo(std::FILE *stream, const QByteArray &bytes)
{
    const bool whole
        = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    return std::fflush(stream) == 0 && whole;
}

} // namespace

namespace ConsoleOutput {

void printLine(const QString &line)
{
    writeTo(stdout, line.toUtf8() + '\n');
}

void printError(const QString &message)
{
    writeTo(stderr, "jotshelf: " + message.toUtf8() + '\n');
}

bool write(const QByteArray &bytes)
{
    return writeTo(stdout, bytes);
}

void writeError(const QByteArray &bytes)
{
    writeTo(stderr, bytes);
}

} // namespace ConsoleOutput
