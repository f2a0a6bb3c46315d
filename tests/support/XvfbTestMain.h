// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "XvfbSession.h"

#include <QGuiApplication>
#include <QTest>
#ifdef QT_WIDGETS_LIB
#include <QApplication>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

/// The private X server of a -xvfb run, while the test runs; null in any other run.
inline XvfbSession *&privateXServer()
{
    static XvfbSession *session = nullptr;
    return session;
}

/// Runs the Qt Test class \a Test on the platform the environment names; with the argument
/// -xvfb, on a private X server of its own through xcb instead, so that what only X11 does (key
/// grabs, key bindings, focus of override-redirect windows, stacking) is tested for real.
/// Without an X server the -xvfb run reports a skip and passes. The application is a
/// QApplication where the test links Qt Widgets, else a QGuiApplication (as QTEST_MAIN picks).
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
        privateXServer() = xvfb.get();
    }
    int count = int(arguments.size());
    arguments.push_back(nullptr);

    int status = 0;
    {
#ifdef QT_WIDGETS_LIB
        QApplication application(count, arguments.data());
#else
        QGuiApplication application(count, arguments.data());
#endif
        Test test;
        status = QTest::qExec(&test, count, arguments.data());
    }
    privateXServer() = nullptr;
    return status;
}

/// True when the test runs on its private X server: only there may it press keys, which on the
/// user's own display would reach the desktop.
inline bool runsOnX11()
{
    return privateXServer() && QGuiApplication::platformName() == QLatin1String("xcb");
}
