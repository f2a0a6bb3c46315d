// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

/// Holds back a write until a pause: each schedule() replaces the waiting write and restarts
/// the wait, so a burst of changes leads to one write of the last value.
class DebouncedWriter : public QObject
{
    Q_OBJECT

public:
    explicit DebouncedWriter(int delayMs, QObject *parent = nullptr);

    void schedule(std::function<void()> write);
    /// Runs the waiting write now, if there is one.
    void flush();
    bool isPending() const { return bool(m_write); }

private:
    QTimer m_timer;
    std::function<void()> m_write;
};
