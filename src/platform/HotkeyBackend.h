#pragma once

#include <QObject>

/// A global hot key's identifier: a four-character signature and a number.
struct HotkeyId
{
    quint32 signature = 0;
    quint32 id = 0;
    friend bool operator==(const HotkeyId &, const HotkeyId &) = default;
};

/// Packs four ASCII characters into a number, the first one in the most significant byte.
constexpr quint32 fourCharCode(const char (&code)[5])
{
    return (quint32(quint8(code[0])) << 24) | (quint32(quint8(code[1])) << 16)
        | (quint32(quint8(code[2])) << 8) | quint32(quint8(code[3]));
}

/**
 * Registers one system-wide key combination and reports its presses. Key code and modifier
 * mask are the application's own values (key code 50 is the backtick key, mask 2048 the Alt
 * key); each backend turns them into what its window system understands.
 *
 * Registration reports its status through registrationFinished(): 0 when the key is ours,
 * -9868 when another program holds it, -9874 for a key the system cannot take, any other value
 * for other failures. A backend may answer within registerHotkey() or later.
 */
class HotkeyBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    static constexpr int noError = 0;
    static constexpr int alreadyTaken = -9868;
    static constexpr int parameterError = -9874;
    /// No window system connection to register with.
    static constexpr int unavailable = -1;

    virtual void registerHotkey(quint32 keyCode, quint32 modifiers, HotkeyId id) = 0;
    virtual void unregisterHotkey(HotkeyId id) = 0;

Q_SIGNALS:
    void registrationFinished(HotkeyId id, int status);
    /// The registered combination was pressed (a held key's repeats are not presses).
    void pressed(HotkeyId id);
};
