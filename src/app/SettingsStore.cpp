#include "app/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SettingsStore::SettingsStore(const QString &filePath)
    : m_filePath(filePath)
    , m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{ }

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Jotshelf/Jotshelf.conf");
}

std::optional<QString> SettingsStore::text(const QString &key) const
{
    const QVariant value = m_settings->value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

double SettingsStore::number(const QString &key) const
{
    const QVariant value = m_settings->value(key);
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
    const QVariant value = m_settings->value(key);
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

bool SettingsStore::contains(const QString &key) const
{
    return m_settings->contains(key);
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
    m_settings->remove(key);
    return sync();
}

bool SettingsStore::write(const QString &key, const QVariant &value)
{
    m_settings->setValue(key, value);
    return sync();
}

bool SettingsStore::sync()
{
    prepareFile();
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

// The file holds the user's note: its folder is the user's alone (0700) and the file is created
// 0600 before the first write, since an atomic replacement keeps the permissions it finds.
void SettingsStore::prepareFile()
{
    if (m_filePrepared)
        return;
    const QFileInfo info(m_filePath);
    const QString folder = info.absolutePath();
    if (!QDir(folder).exists()) {
        if (!QDir().mkpath(folder))
            return;
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    const QByteArray path = QFile::encodeName(m_filePath);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    ::fchmod(fd, 0600);
    ::close(fd);
    m_filePrepared = true;
}
