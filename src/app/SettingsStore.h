#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;

/**
 * The defaults store: the user's settings file (INI, `Jotshelf/Jotshelf.conf` under the XDG
 * config folder), readable by its owner only and replaced atomically on every write.
 *
 * Reads follow fixed rules: a text key counts when it holds text; a number key is usable when
 * it holds a finite number (0 otherwise, as for an absent key); a Boolean key is present only
 * when it holds `true` or `false`.
 */
class SettingsStore
{
public:
    /// Opens (and, on the first write, creates) the settings file at \a filePath.
    explicit SettingsStore(const QString &filePath);
    ~SettingsStore();

    /// `$XDG_CONFIG_HOME/Jotshelf/Jotshelf.conf`.
    static QString defaultFilePath();

    QString filePath() const { return m_filePath; }

    std::optional<QString> text(const QString &key) const;
    double number(const QString &key) const;
    std::optional<bool> boolean(const QString &key) const;
    bool contains(const QString &key) const;

    /// Each write reaches the file before it returns; false when the file could not be written.
    bool setText(const QString &key, const QString &value);
    bool setNumber(const QString &key, double value);
    bool setBoolean(const QString &key, bool value);
    bool remove(const QString &key);

    /// Writes what is held in memory to the file; false when that failed.
    bool sync();

private:
    bool write(const QString &key, const QVariant &value);
    void prepareFile();

    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
    bool m_filePrepared = false;
};
