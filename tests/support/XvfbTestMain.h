// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "XvfbSession.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

/// Runs the Qt Test class \a Test in a QApplication on the platform the environment names; with
/// the argument -xvfb, on a private X server of its own through xcb instead, so that what only
/// X11 does (key bindings, focus of override-redirect windows, stacking) is tested for real.
/// Without an X server the -xvfb run reports a skip and passes.
///
///     int main(int argc, char *argv[]) { return runTestWithOptionalXvfb<tst_Foo>(argc, argv); }
template<typename Test>
int runTestWithOptionalXvfb(int argc, char *argv[])
{
    std::vector<char *> arguments(argv, argv + argc);
    const auto xvfbFlag
        = std::find_if(arguments.begin(), arguments.end(),
                       [](const char *argument) { return std::strcmp(argument, "-xvfb") == 0; });
    std::unique_ptr<XvfbSession> xvfb;
    if (xvfbFlag != arguments.end()) {
        arguments.erase(xvfbFlag);
        xvfb = std::make_unique<XvfbSession>();
        if (!xvfb->isRunning()) {
            std::printf("SKIP   : needs a private X server: %s\n", qPrintable(xvfb->errorString()));
            return 0;
        }
        qputenv("DISPLAY", xvfb->display().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", xvfb->runtimeDir().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    int count = int(arguments.size());
    arguments.push_back(nullptr);

    QApplication application(count, arguments.data());
    Test test;
    return QTest::qExec(&test, count, arguments.data());
}

/// True when the test runs on an X server.
inline bool runsOnX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}
