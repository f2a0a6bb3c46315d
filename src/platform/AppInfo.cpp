// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/AppInfo.h"

#include "JotshelfBuildInfo.h"

#include <QtGlobal>

namespace AppInfo {

QString appId()
{
    return QStringLiteral(JOTSHELF_APP_ID);
}

QString version()
{
    return QStringLiteral(JOTSHELF_VERSION);
}

QString versionDate()
{
    return QStringLiteral(JOTSHELF_VERSION_DATE);
}

QString homepage()
{
    return QStringLiteral(JOTSHELF_HOMEPAGE);
}

QString copyright()
{
    return QStringLiteral(JOTSHELF_COPYRIGHT);
}

QString bugReportUrl()
{
    return QStringLiteral(JOTSHELF_BUG_URL);
}

QString versionText()
{
    // The Qt the binary runs on may be newer than the one it was built with.
    const QString runtimeQt = QString::fromLatin1(qVersion());
    const QString qt = runtimeQt == QLatin1String(QT_VERSION_STR)
        ? QStringLiteral("Qt %1").arg(runtimeQt)
        : QStringLiteral("Qt %1 (built with Qt %2)").arg(runtimeQt, QLatin1String(QT_VERSION_STR));
    return QStringLiteral("Jotshelf %1\n"
                          "%2\n"
                          "Copyright (C) %3\n"
                          "License GPL-3.0-or-later: GNU GPL version 3 or later "
                          "<https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.")
        .arg(version(), qt, copyright());
}

} // namespace AppInfo
