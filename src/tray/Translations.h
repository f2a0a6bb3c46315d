// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QObject>

/// The language of the windows, menus, dialogs and notices: Jotshelf's own translation for the
/// first of the user's languages that has one (stopping at English, the texts' own language),
/// and Qt's for its standard buttons, dialogs and key names in the same language. Installed on
/// the application while this object lives. Console lines, the command line and the stored
/// files never change with it.
class Translations : public QObject
{
    Q_OBJECT

public:
    /// \a locale is the default locale (the user's, from LANGUAGE, LC_ALL, LC_MESSAGES, LANG)
    /// unless a test sets one.
    explicit Translations(const QLocale &locale = QLocale(), QObject *parent = nullptr);

    /// The language the texts are shown in, as a name like "de"; empty for English.
    QString language() const { return m_language; }

private:
    QString m_language;
};
