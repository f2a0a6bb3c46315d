// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/DebouncedWriter.h"

DebouncedWriter::DebouncedWriter(int delayMs, QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &DebouncedWriter::flush);
}

void DebouncedWriter::schedule(std::function<void()> write)
{
    m_write = std::move(write);
    m_timer.start();
}

void DebouncedWriter::flush()
{
    m_timer.stop();
    if (!m_write)
        return;
    const auto write = std::exchange(m_write, nullptr);
    write();
}
