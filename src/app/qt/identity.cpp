// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/identity.h"

#include "app/build_info.h"

#include <QGuiApplication>

namespace vantric {

const char* appVersion()
{
    return VANTRIC_VERSION;
}

const char* appId()
{
    return VANTRIC_APP_ID;
}

void announceIdentity()
{
    QCoreApplication::setApplicationName(kAppName);
    QCoreApplication::setApplicationVersion(appVersion());
    QGuiApplication::setDesktopFileName(appId());
}

} // namespace vantric
