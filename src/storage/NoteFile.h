#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <mutex>
#include <optional>

/// The note's own settings file, beside the settings: a large note is rewritten only when the
/// note changes, never when a switch does. Writes run on a background thread so that a large
/// note never holds up typing; they are atomic (the file holds the whole previous note or the
/// whole new one, also after a crash), and only the newest text waits while one is written.
class NoteFile : public QObject
{
    Q_OBJECT

public:
    explicit NoteFile(const QString &filePath, QObject *parent = nullptr);
    /// Waits for a write still under way.
    ~NoteFile() override;

    QString filePath() const { return m_filePath; }

    /// The text stored under \a key, when there is text.
    std::optional<QString> text(const QString &key) const;
    bool contains(const QString &key) const;

    /// Writes \a value under \a key in the background.
    void setText(const QString &key, const QString &value);
    /// Removes \a key, in order with the writes.
    void remove(const QString &key);
    /// Writes again what the last failed write could not.
    void retry();
    /// Blocks until every requested change is on disk; false when the last write failed.
    bool waitForWritten();
    /// False while the last write failed and nothing newer succeeded.
    bool isWritten() const;

Q_SIGNALS:
    /// A background write ended; \a reason says why it failed.
    void writeFinished(bool ok, const QString &reason);

private:
    /// The text under \a key when the file has the form this class writes (one [General]
    /// entry, one quoted value), read without QSettings: it parses a large note several times
    /// slower and keeps it for the rest of the run. Nothing for any other form.
    std::optional<QString> readWrittenForm(const QString &key) const;

    struct Change
    {
        QString key;
        std::optional<QString> value; // nothing: remove the key
    };

    void enqueue(Change change);
    void drain();
    bool write(const Change &change) const;

    const QString m_filePath;
    QThreadPool m_pool;
    mutable std::mutex m_mutex;
    std::optional<Change> m_pending;
    std::optional<Change> m_failed;
    bool m_running = false;
};
