#include "app/Persistence.h"

#include "app/AppState.h"
#include "app/DebouncedWriter.h"
#include "app/SettingsStore.h"

namespace {
const QString noteKey = QStringLiteral("noteContent");
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
{ }

Persistence::~Persistence()
{
    flush();
}

void Persistence::loadSavedContent()
{
    SettingsStore &store = m_state.userDefaults();

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

DebouncedWriter *Persistence::makeDebounce()
{
    return new DebouncedWriter(debounceMs, this);
}

void Persistence::setupAutoSave()
{
    SettingsStore &store = m_state.userDefaults();
    m_note = makeDebounce();
    m_size = makeDebounce();
    m_opacity = makeDebounce();
    m_margins = makeDebounce();

    auto saveBoolean = [this, &store](const QString &key) {
        return [this, &store, key](bool value) { written(key, store.setBoolean(key, value)); };
    };

    m_state.subscribe(&AppState::noteContent, &AppState::noteContentChanged, this,
                      [this, &store](const QString &value) {
                          m_note->schedule([this, &store, value] {
                              written(noteKey, store.setText(noteKey, value));
                          });
                      });
    m_state.subscribe(&AppState::drawerPosition, &AppState::drawerPositionChanged, this,
                      [this, &store](DrawerPosition value) {
                          written(positionKey,
                                  store.setText(positionKey, DrawerPositions::rawValue(value)));
                          m_state.setDefaultPosition(m_state.calculateDefaultPosition());
                      });
    m_state.subscribe(&AppState::windowSize, &AppState::windowSizeChanged, this,
                      [this, &store](QSizeF value) {
                          m_size->schedule([this, &store, value] {
                              written(widthKey, store.setNumber(widthKey, value.width()));
                              written(heightKey, store.setNumber(heightKey, value.height()));
                          });
                      });
    m_state.subscribe(&AppState::windowOpacity, &AppState::windowOpacityChanged, this,
                      [this, &store](double value) {
                          m_opacity->schedule([this, &store, value] {
                              written(opacityKey, store.setNumber(opacityKey, value));
                          });
                      });
    m_state.subscribe(&AppState::autoFormatBullets, &AppState::autoFormatBulletsChanged, this,
                      saveBoolean(bulletsKey));
    m_state.subscribe(&AppState::autoFormatNumbers, &AppState::autoFormatNumbersChanged, this,
                      saveBoolean(numbersKey));
    m_state.subscribe(&AppState::autoFormatDashes, &AppState::autoFormatDashesChanged, this,
                      saveBoolean(dashesKey));
    m_state.subscribe(&AppState::hideScrollIndicators, &AppState::hideScrollIndicatorsChanged, this,
                      saveBoolean(scrollKey));
    m_state.subscribe(&AppState::manualMargins, &AppState::manualMarginsChanged, this,
                      [this, &store](double value) {
                          m_margins->schedule([this, &store, value] {
                              written(marginsKey, store.setNumber(marginsKey, value));
                          });
                      });
    m_state.subscribe(&AppState::useManualMargins, &AppState::useManualMarginsChanged, this,
                      saveBoolean(useMarginsKey));
    m_state.subscribe(&AppState::useCustomColors, &AppState::useCustomColorsChanged, this,
                      saveBoolean(colorsKey));
}

void Persistence::flush()
{
    for (DebouncedWriter *writer : {m_note, m_size, m_opacity, m_margins}) {
        if (writer)
            writer->flush();
    }
    m_state.userDefaults().sync();
}

void Persistence::written(const QString &key, bool ok)
{
    Q_EMIT keyWritten(key, ok);
}
