// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/// Who the app is: its id, its version and where its makers are, as the build made them.
namespace AppInfo {

/// The reverse-DNS id that names the desktop file, the icon and the metainfo, and by which
/// the desktop portal and notifications know the app.
QString appId();

/// The version of this build: the release, or the release and the commit for a build between
/// releases ("1.0.0+git20261209.153012.47d35ab").
QString version();

/// The day of the version (its commit, or its release), as YYYY-MM-DD.
QString versionDate();

QString homepage();

/// The copyright line's holder and years: "2026 The Jotshelf developers".
QString copyright();

/// Where bugs are reported.
QString bugReportUrl();

/// What `jotshelf --version` prints: name and version, the Qt it runs on, the copyright and
/// the licence.
QString versionText();

} // namespace AppInfo
