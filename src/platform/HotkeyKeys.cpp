// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/HotkeyKeys.h"

#include <QKeySequence>
#include <QStringList>

namespace HotkeyKeys {

namespace {

struct Modifier
{
    Qt::KeyboardModifier modifier;
    // X11's core modifier bits: ShiftMask, ControlMask, Mod1Mask (Alt), Mod4Mask (Super).
    quint16 x11Mask;
    const char *portalName;
};

constexpr Modifier modifierTable[] = {
    {Qt::ControlModifier, 1u << 2, "CTRL"},
    {Qt::AltModifier, 1u << 3, "ALT"},
    {Qt::ShiftModifier, 1u << 0, "SHIFT"},
    {Qt::MetaModifier, 1u << 6, "LOGO"},
};

struct Key
{
    quint32 keysym;
    QString portalName;
};

/// Keysyms of Latin-1 keys are their lowercase characters, and so are the names xkbcommon reads.
std::optional<Key> keyFor(Qt::Key key)
{
    switch (key) {
    case Qt::Key_QuoteLeft:
        return Key {0x60, QStringLiteral("grave")};
    case Qt::Key_Space:
        return Key {0x20, QStringLiteral("space")};
    default:
        break;
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        const QChar character = QChar(char16_t(key)).toLower();
        return Key {character.unicode(), QString(character)};
    }
    return std::nullopt;
}

bool modifiersKnown(Qt::KeyboardModifiers modifiers)
{
    Qt::KeyboardModifiers known;
    for (const Modifier &modifier : modifierTable)
        known |= modifier.modifier;
    return (modifiers & ~known) == Qt::NoModifier;
}

} // namespace

std::optional<X11Key> x11Key(QKeyCombination key)
{
    const auto found = keyFor(key.key());
    if (!found || !modifiersKnown(key.keyboardModifiers()))
        return std::nullopt;
    X11Key x11 {found->keysym, 0};
    for (const Modifier &modifier : modifierTable) {
        if (key.keyboardModifiers() & modifier.modifier)
            x11.modifierMask |= modifier.x11Mask;
    }
    return x11;
}

QString portalTrigger(QKeyCombination key)
{
    const auto found = keyFor(key.key());
    if (!found || !modifiersKnown(key.keyboardModifiers()))
        return {};
    QStringList names;
    for (const Modifier &modifier : modifierTable) {
        if (key.keyboardModifiers() & modifier.modifier)
            names << QString::fromLatin1(modifier.portalName);
    }
    names << found->portalName;
    return names.join(u'+');
}

QString displayName(QKeyCombination key)
{
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

} // namespace HotkeyKeys
