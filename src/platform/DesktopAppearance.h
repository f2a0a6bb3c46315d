// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <optional>

/**
 * What the desktop says about its look: whether it prefers dark windows, and the point size of
 * its interface font.
 *
 * The colour scheme comes from Qt (QStyleHints::colorScheme, Qt 6.5 and later) where Qt knows
 * one, else from the desktop portal's settings (org.freedesktop.appearance color-scheme: 1 dark,
 * 2 light). The font size comes from the portal: GNOME's org.gnome.desktop.interface font-name
 * ("Cantarell 11") or KDE's org.kde.kdeglobals.General font ("Noto Sans,10,..."). Both are read
 * without blocking and followed while the application runs; nothing is known until they arrive.
 */
class DesktopAppearance : public QObject
{
    Q_OBJECT

public:
    explicit DesktopAppearance(QObject *parent = nullptr);

    /// True for a dark desktop, false for a light one, nothing when it says neither.
    std::optional<bool> prefersDark() const;
    std::optional<double> fontPointSize() const { return m_fontSize; }

    /// The point size in a GNOME font name ("Cantarell 11") or a KDE font description
    /// ("Noto Sans,10,-1,5,50,0,0,0,0,0"); nothing when there is none.
    static std::optional<double> pointSizeIn(const QString &font);

Q_SIGNALS:
    void changed();

private:
    void read(const QString &group, const QString &key);
    void take(const QString &group, const QString &key, const QVariant &value);

    std::optional<bool> m_portalDark;
    std::optional<double> m_fontSize;
};
