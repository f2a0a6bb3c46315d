// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>
#include <QVariantMap>

#include <optional>

/// Encodes INI files that `QSettings` reads back exactly; AtomicFile writes them.
/// (`QSettings::sync()` in Qt 6.4 reports success when the last part of a file could not be
/// written, a full disk or a file-size limit, and puts the cut-short file in place of the whole
/// one.)
namespace IniWriter {

/// \a text as an INI value that `QSettings` reads back as the same string: quoted, with
/// control characters, quotes, backslashes, byte order marks and unpaired surrogates
/// escaped, a leading '@'
/// doubled, everything else as UTF-8.
QByteArray encodeText(QStringView text);
/// The size of encodeText(\a text), counted without encoding it.
qsizetype encodedTextSize(QStringView text);

/// encodeText() in parts, for a text too long to encode at once: beginText(), appendText() for
/// ranges that follow each other from 0 to the end of \a text, then endText() give its bytes.
void beginText(QByteArray &out, QStringView text);
/// Appends the characters of \a text from \a from up to \a to as encodeText() writes them and
/// returns where the next part starts: \a to, or one past it when \a to would part a surrogate
/// pair. \a afterHexEscape carries what a part leaves to the next one (false before the first).
qsizetype appendText(QByteArray &out, QStringView text, qsizetype from, qsizetype to,
                     bool &afterHexEscape);
void endText(QByteArray &out);

/// The [General] section holding \a entries (keys of letters and digits) as text values.
QByteArray generalSection(const QList<QPair<QString, QString>> &entries);

/// A whole settings file holding \a values as `QSettings` would: keys without a '/' in the
/// [General] section, the others in the section their first part names. Texts, numbers,
/// Booleans and lists of texts are kept; a value of any other type is written as its text, or
/// left out when it has none.
QByteArray encodeFile(const QVariantMap &values);

/// The text \a quoted holds, when it is a value exactly as encodeText() writes them: quoted, with
/// no bare control character, quote or backslash, only the escapes encodeText() uses, a leading
/// '@' doubled. Anything else (which QSettings might read otherwise) gives nothing. The text
/// has room to grow, so that typing into it does not copy it at once.
std::optional<QString> decodeText(QByteArrayView quoted);

} // namespace IniWriter
