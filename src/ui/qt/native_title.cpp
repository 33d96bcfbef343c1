// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/qt/native_title.h"

#include "ui/qt/x11_title.h"

#include <QGuiApplication>
#include <QWindow>

namespace vantric {

void setNativeTitle(QWindow* window, const QString& title)
{
    if (!window || !window->handle() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    setX11Title(x11->connection(), static_cast<std::uint32_t>(window->winId()), title.toUtf8().toStdString(),
                title.toLatin1().toStdString());
}

} // namespace vantric
