#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>
#include <QVariantMap>

/// Writes INI files that `QSettings` reads back exactly, and reports every failure to write.
/// `QSettings::sync()` in Qt 6.4 reports success when the last part of a file could not be
/// written (a full disk, a file-size limit) and puts the cut-short file in place of the whole
/// one; a file written here is replaced only when every byte of the new one is on disk.
namespace IniWriter {

/// \a text as an INI value that `QSettings` reads back as the same string: quoted, with
/// control characters, quotes, backslashes, byte order marks and unpaired surrogates
/// escaped, a leading '@'
/// doubled, everything else as UTF-8.
QByteArray encodeText(QStringView text);

/// The [General] section holding \a entries (keys of letters and digits) as text values.
QByteArray generalSection(const QList<QPair<QString, QString>> &entries);

/// A whole settings file holding \a values as `QSettings` would: keys without a '/' in the
/// [General] section, the others in the section their first part names. Texts, numbers,
/// Booleans and lists of texts are kept; a value of any other type is written as its text, or
/// left out when it has none.
QByteArray encodeFile(const QVariantMap &values);

/// Replaces the file at \a filePath with \a bytes atomically, after they reached the disk. False
/// when any step failed; the file then still holds what it held before.
bool replaceFile(const QString &filePath, const QByteArray &bytes);

} // namespace IniWriter
