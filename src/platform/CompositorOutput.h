// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <optional>

/**
 * The output a Wayland compositor calls active, asked of the compositor itself.
 *
 * Through XWayland the X server learns where the pointer is only while it is over an X11
 * window: after a click on another output's bare desktop, X11 still places it on the old one.
 * The compositor knows: sway names its focused output over its IPC socket ($SWAYSOCK,
 * GET_OUTPUTS), KWin its active output on D-Bus (org.kde.KWin /KWin activeOutputName: the
 * output under the pointer, or of the active window when the user chose so). Where XWayland
 * does not name its outputs after the compositor's (XWAYLAND0, XWAYLAND1 under KWin 5.27), the
 * output's place in the layout tells which one it is. Mutter offers no
 * such call to other programs; there, and on an X11 session, nothing is asked.
 */
class CompositorOutput
{
public:
    struct Output
    {
        /// The compositor's name for it, as XWayland names its RandR output ("HEADLESS-2").
        QString name;
        /// Where it lies in the compositor's layout; empty when the compositor did not say.
        QRect rect;
    };

    enum class Compositor { None, Sway, KWin };

    /// Which compositor to ask: only when running through XWayland on a Wayland session.
    static Compositor forEnvironment();

    /// The compositor's active output now, or nothing when it cannot tell (it does not answer
    /// within a quarter of a second, or names none).
    static std::optional<Output> active(Compositor compositor);

    /// The focused output in sway's answer to GET_OUTPUTS (a JSON array of outputs).
    static std::optional<Output> focusedInSwayOutputs(const QByteArray &json);
    /// Where the output \a name lies, as KWin's support information lists its screens
    /// ("Name: Virtual-1" and below it "Geometry: 1280,0,1280x800"); empty when not listed.
    static QRect rectInKWinSupportInformation(const QString &text, const QString &name);

private:
    static std::optional<Output> askSway(const QString &socketPath);
    static std::optional<Output> askKWin();
};
