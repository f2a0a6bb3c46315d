// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/SettingsStore.h"

#include "storage/AtomicFile.h"
#include "storage/IniWriter.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>

SettingsStore::SettingsStore(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
{
    // Before anything is read: a file from a backup or an older version may be open to others,
    // and a write killed half-way may have left its new file beside the old.
    for (const QString &path : {QFileInfo(filePath).absolutePath(), filePath}) {
        if (PrivateFile::makePrivate(path))
            m_madePrivate.append(path);
    }
    AtomicFile::removeStaleTemporaries(filePath);

    // A damaged file is put aside whole before anything is written; what could be read from
    // it is kept, to be written again to the new file.
    PrivateFile::Checked checked = PrivateFile::checkIni(
        filePath, PrivateFile::readRetrying(filePath, PrivateFile::maxSettingsBytes),
        PrivateFile::maxSettingsBytes);
    m_unreadable = checked.unreadable;
    m_values = std::move(checked.values);
    if (checked.setAside) {
        m_setAside.append(*checked.setAside);
        m_dirty = true;
    }
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::setFileAside(const QString &reason)
{
    m_setAside.append({m_filePath, PrivateFile::setAside(m_filePath), reason});
    m_dirty = true;
}

QString SettingsStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Jotshelf/Jotshelf.conf");
}

std::optional<QString> SettingsStore::text(const QString &key) const
{
    const QVariant value = m_values.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

double SettingsStore::number(const QString &key) const
{
    const QVariant value = m_values.value(key);
    bool ok = false;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::QString:
        number = value.toString().trimmed().toDouble(&ok);
        break;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        number = value.toDouble(&ok);
        break;
    default:
        break;
    }
    return ok && std::isfinite(number) ? number : 0.0;
}

std::optional<bool> SettingsStore::boolean(const QString &key) const
{
    const QVariant value = m_values.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

bool SettingsStore::setText(const QString &key, const QString &value)
{
    return write(key, value);
}

bool SettingsStore::setNumber(const QString &key, double value)
{
    return write(key, value);
}

bool SettingsStore::setBoolean(const QString &key, bool value)
{
    return write(key, value);
}

bool SettingsStore::remove(const QString &key)
{
    m_values.remove(key);
    m_dirty = true;
    return sync();
}

QVariant SettingsStore::take(const QString &key)
{
    if (!m_values.contains(key))
        return {};
    m_dirty = true;
    return m_values.take(key);
}

bool SettingsStore::write(const QString &key, const QVariant &value)
{
    m_values.insert(key, value);
    m_dirty = true;
    return sync();
}

bool SettingsStore::sync()
{
    if (!m_dirty && m_written)
        return true;
    const QString reason = PrivateFile::write(m_filePath, IniWriter::encodeFile(m_values));
    m_written = reason.isEmpty();
    if (m_written)
        m_dirty = false;
    Q_EMIT writeFinished(m_filePath, m_written, reason);
    return m_written;
}

void SettingsStore::retry()
{
    if (!m_written)
        sync();
}
