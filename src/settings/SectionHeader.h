// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

/// The title and subtitle above a settings section.
class SectionHeader : public QWidget
{
    Q_OBJECT

public:
    SectionHeader(const QString &title, const QString &subtitle, QWidget *parent = nullptr);
};
