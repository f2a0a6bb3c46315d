#pragma once

#include <QObject>

class AppState;
class DebouncedWriter;

/// Loads the saved note and settings into the model once, then keeps the settings file up to
/// date: eleven savers, some writing within the assignment, the others half a second after the
/// last change. Whatever still waits is written by flush(), which the application calls when
/// it ends.
class Persistence : public QObject
{
    Q_OBJECT

public:
    /// The pause after the last change before a debounced value is written.
    static constexpr int debounceMs = 500;

    explicit Persistence(AppState &state);
    ~Persistence() override;

    void loadSavedContent();
    void setupAutoSave();
    void flush();

Q_SIGNALS:
    /// A saver wrote \a key; \a ok is false when the settings file could not be written.
    void keyWritten(const QString &key, bool ok);

private:
    DebouncedWriter *makeDebounce();
    void written(const QString &key, bool ok);

    AppState &m_state;
    DebouncedWriter *m_note = nullptr;
    DebouncedWriter *m_size = nullptr;
    DebouncedWriter *m_opacity = nullptr;
    DebouncedWriter *m_margins = nullptr;
};
