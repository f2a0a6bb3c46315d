// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/AppState.h"
#include "app/Settings.h"

#include <QMetaMethod>
#include <QObject>
#include <QStringList>
#include <QVariant>

/// The settings table as tests read it: names, keys and orders taken from the rows themselves,
/// so that no test keeps a copy of them.
namespace SettingsTable {

/// The property a row holds, named after its signal ("windowOpacity" for
/// windowOpacityChanged()).
template<typename Row>
QString propertyName(const Row &row)
{
    QString name = QString::fromLatin1(QMetaMethod::fromSignal(row.changed).name());
    name.chop(int(qstrlen("Changed")));
    return name;
}

/// The properties of the table in its order; \a resetOnly: those Reset to Defaults assigns.
inline QStringList propertyNames(bool resetOnly = false)
{
    QStringList names;
    Settings::forEach([&](const auto &row) {
        if (row.reset || !resetOnly)
            names << propertyName(row);
    });
    return names;
}

/// The keys of \a row in the settings file.
template<typename Row>
QStringList keysOf(const Row &row)
{
    QStringList keys;
    for (const char *key : row.keys) {
        if (key)
            keys << QString::fromLatin1(key);
    }
    return keys;
}

/// The keys of the rows saved as \a saving, in the table's order.
inline QStringList keys(Settings::Saving saving)
{
    QStringList keys;
    Settings::forEach([&keys, saving](const auto &row) {
        if (row.saving == saving)
            keys << keysOf(row);
    });
    return keys;
}

/// The value of the property \a name; a position as its number.
inline QVariant value(const AppState &state, const QString &name)
{
    QVariant found;
    Settings::forEach([&](const auto &row) {
        if (propertyName(row) != name)
            return;
        if constexpr (std::is_same_v<typename std::decay_t<decltype(row)>::Value, DrawerPosition>)
            found = int(row.value(state));
        else
            found = QVariant::fromValue(row.value(state));
    });
    return found;
}

/// Counts every announcement of every property of the table.
class Announcements : public QObject
{
public:
    explicit Announcements(AppState &state)
    {
        Settings::forEach([this, &state](const auto &row) {
            connect(&state, row.changed, this, [this] { ++m_count; });
        });
    }
    int count() const { return m_count; }

private:
    int m_count = 0;
};

} // namespace SettingsTable
