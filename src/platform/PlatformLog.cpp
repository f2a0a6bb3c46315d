#include "platform/PlatformLog.h"

Q_LOGGING_CATEGORY(lcPlatform, "jotshelf.platform", QtInfoMsg)
