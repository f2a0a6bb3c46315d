#include "app/Persistence.h"

#include "app/AppState.h"
#include "storage/DebouncedWriter.h"
#include "storage/PrivateFile.h"
#include "storage/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>

namespace {
const QString &noteKey = SettingsStore::noteKey;
const QString positionKey = QStringLiteral("drawerPosition");
const QString widthKey = QStringLiteral("windowWidth");
const QString heightKey = QStringLiteral("windowHeight");
const QString opacityKey = QStringLiteral("windowOpacity");
const QString bulletsKey = QStringLiteral("autoFormatBullets");
const QString numbersKey = QStringLiteral("autoFormatNumbers");
const QString dashesKey = QStringLiteral("autoFormatDashes");
const QString scrollKey = QStringLiteral("hideScrollIndicators");
const QString marginsKey = QStringLiteral("manualMargins");
const QString useMarginsKey = QStringLiteral("useManualMargins");
const QString colorsKey = QStringLiteral("useCustomColors");
} // namespace

Persistence::Persistence(AppState &state)
    : m_state(state)
{
    connect(&m_state.userDefaults(), &SettingsStore::writeFinished, this,
            &Persistence::writeFinished);
}

Persistence::~Persistence()
{
    flush();
}

void Persistence::loadSavedContent()
{
    SettingsStore &store = m_state.userDefaults();
    reportSetAsideFiles();

    if (const auto note = store.text(noteKey))
        m_state.setNoteContent(*note);

    if (const auto raw = store.text(positionKey)) {
        if (const auto position = DrawerPositions::fromRawValue(*raw))
            m_state.setDrawerPosition(*position);
    }

    const double width = store.number(widthKey);
    const double height = store.number(heightKey);
    if (width > 0 && height > 0)
        m_state.setWindowSize(QSizeF(width, height));
    m_state.setWindowWidth(m_state.windowSize().width());
    m_state.setWindowHeight(m_state.windowSize().height());

    if (const double opacity = store.number(opacityKey); opacity > 0)
        m_state.setWindowOpacity(opacity);

    m_state.setAutoFormatBullets(store.boolean(bulletsKey).value_or(true));
    m_state.setAutoFormatNumbers(store.boolean(numbersKey).value_or(true));
    m_state.setAutoFormatDashes(store.boolean(dashesKey).value_or(true));
    m_state.setHideScrollIndicators(store.boolean(scrollKey).value_or(true));

    if (const double margins = store.number(marginsKey); margins > 0)
        m_state.setManualMargins(margins);

    m_state.setUseManualMargins(store.boolean(useMarginsKey).value_or(false));
    m_state.setUseCustomColors(store.boolean(colorsKey).value_or(false));
}

void Persistence::reportSetAsideFiles()
{
    for (const SettingsStore::SetAside &file : m_state.userDefaults().setAside()) {
        const QString line = file.copy.isEmpty()
            ? QStringLiteral("❌ Could not read %1 (%2), nor move it aside; it is left as it is")
                  .arg(file.original, file.reason)
            : QStringLiteral("❌ Could not read %1 (%2); kept it as %3")
                  .arg(file.original, file.reason, file.copy);
        m_state.printLine(line);
        const QString message = file.copy.isEmpty()
            ? QStringLiteral("%1 could not be read (%2). Jotshelf started with what it could "
                             "read and the defaults for the rest.")
                  .arg(file.original, file.reason)
            : QStringLiteral("%1 could not be read (%2). Jotshelf started with what it could "
                             "read and the defaults for the rest; the original is kept as %3.")
                  .arg(file.original, file.reason, file.copy);
        m_state.requestNotice(QStringLiteral("Settings could not be read"), message);
    }
}

DebouncedWriter *Persistence::makeDebounce()
{
    return new DebouncedWriter(debounceMs, this);
}

void Persistence::save(const QString &key, const std::function<bool()> &write)
{
    // Each change is a chance to write again what could not be written before.
    if (!m_failing.isEmpty())
        retry();
    Q_EMIT keyWritten(key, write());
}

void Persistence::setupAutoSave()
{
    SettingsStore &store = m_state.userDefaults();
    m_note = makeDebounce();
    m_size = makeDebounce();
    m_opacity = makeDebounce();
    m_margins = makeDebounce();

    auto saveBoolean = [this, &store](const QString &key) {
        return [this, &store, key](bool value) {
            save(key, [&store, key, value] { return store.setBoolean(key, value); });
        };
    };
    auto debounceNumber = [this, &store](DebouncedWriter *writer, const QString &key) {
        return [this, &store, writer, key](double value) {
            writer->schedule([this, &store, key, value] {
                save(key, [&store, key, value] { return store.setNumber(key, value); });
            });
        };
    };

    // The note's saver takes the note when its pause ends rather than holding each value handed
    // to it: the value last handed over is the note as it stands then, and holding a copy would
    // make every keystroke copy the whole note.
    m_state.subscribe(&AppState::noteContent, &AppState::noteContentChanged, this,
                      [this, &store](const QString &) {
                          m_note->schedule([this, &store] {
                              save(noteKey, [this, &store] {
                                  return store.setText(noteKey, m_state.noteContent());
                              });
                          });
                      });
    m_state.subscribe(&AppState::drawerPosition, &AppState::drawerPositionChanged, this,
                      [this, &store](DrawerPosition value) {
                          save(positionKey, [&store, value] {
                              return store.setText(positionKey, DrawerPositions::rawValue(value));
                          });
                          m_state.setDefaultPosition(m_state.calculateDefaultPosition());
                      });
    m_state.subscribe(
        &AppState::windowSize, &AppState::windowSizeChanged, this, [this, &store](QSizeF value) {
            m_size->schedule([this, &store, value] {
                save(widthKey,
                     [&store, value] { return store.setNumber(widthKey, value.width()); });
                save(heightKey,
                     [&store, value] { return store.setNumber(heightKey, value.height()); });
            });
        });
    m_state.subscribe(&AppState::windowOpacity, &AppState::windowOpacityChanged, this,
                      debounceNumber(m_opacity, opacityKey));
    m_state.subscribe(&AppState::autoFormatBullets, &AppState::autoFormatBulletsChanged, this,
                      saveBoolean(bulletsKey));
    m_state.subscribe(&AppState::autoFormatNumbers, &AppState::autoFormatNumbersChanged, this,
                      saveBoolean(numbersKey));
    m_state.subscribe(&AppState::autoFormatDashes, &AppState::autoFormatDashesChanged, this,
                      saveBoolean(dashesKey));
    m_state.subscribe(&AppState::hideScrollIndicators, &AppState::hideScrollIndicatorsChanged, this,
                      saveBoolean(scrollKey));
    m_state.subscribe(&AppState::manualMargins, &AppState::manualMarginsChanged, this,
                      debounceNumber(m_margins, marginsKey));
    m_state.subscribe(&AppState::useManualMargins, &AppState::useManualMarginsChanged, this,
                      saveBoolean(useMarginsKey));
    m_state.subscribe(&AppState::useCustomColors, &AppState::useCustomColorsChanged, this,
                      saveBoolean(colorsKey));
}

void Persistence::retry()
{
    m_state.userDefaults().retry();
}

void Persistence::writeFinished(const QString &filePath, bool ok, const QString &reason)
{
    // One line and one notice while writing fails, whichever of the two files fails first.
    if (ok) {
        if (m_failing.remove(filePath) && m_failing.isEmpty())
            m_state.printLine(QStringLiteral("✅ Saved to %1 again").arg(filePath));
        return;
    }
    const bool toldAlready = !m_failing.isEmpty();
    m_failing.insert(filePath);
    if (toldAlready)
        return;
    m_state.printLine(QStringLiteral("❌ Could not save to %1: %2").arg(filePath, reason));
    m_state.requestNotice(
        QStringLiteral("Your note is not saved"),
        QStringLiteral("Jotshelf could not write %1: %2. The note is kept in memory and "
                       "Jotshelf tries again with every change.")
            .arg(filePath, reason));
}

bool Persistence::writeNow()
{
    for (DebouncedWriter *writer : {m_note, m_size, m_opacity, m_margins}) {
        if (writer)
            writer->flush();
    }
    SettingsStore &store = m_state.userDefaults();
    store.retry();
    store.sync();
    store.waitForNote();
    return store.isWritten();
}

Persistence::FlushOutcome Persistence::flush()
{
    if (writeNow())
        return {};
    return rescueNote();
}

// The files cannot be written and the application is ending: say so, and put the note where
// the user can find it, if there is such a place.
Persistence::FlushOutcome Persistence::rescueNote()
{
    // The application flushes more than once on its way out (the quit command, aboutToQuit,
    // the end of the model): one copy and one report for each version of the note.
    if (m_rescuedNote && *m_rescuedNote == m_state.noteContent())
        return m_rescue;
    SettingsStore &store = m_state.userDefaults();
    const QString failed = m_failing.contains(store.noteFilePath()) || m_failing.isEmpty()
        ? store.noteFilePath()
        : *m_failing.cbegin();
    m_rescuedNote = m_state.noteContent();
    m_rescue = {false, failed, PrivateFile::whyUnwritable(failed), {}};
    m_state.printLine(QStringLiteral("❌ Quitting without saving: %1 cannot be written (%2)")
                          .arg(failed, m_rescue.reason));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString rescue = QDir::temp().filePath(QStringLiteral("jotshelf-note-%1.txt").arg(stamp));
    QSaveFile file(rescue);
    if (file.open(QIODevice::WriteOnly)) {
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        file.write(m_state.noteContent().toUtf8());
        if (file.commit()) {
            m_state.printLine(QStringLiteral("   The note was written to %1").arg(rescue));
            m_rescue.rescueCopy = rescue;
            return m_rescue;
        }
    }
    m_state.printLine(QStringLiteral("   The note could not be written anywhere"));
    return m_rescue;
}
