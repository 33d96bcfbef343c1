// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The Windows program: the main window's logic on native windows, with the
// drives, files and clock of Windows.

#include "app/frmDrive.h"
#include "app/system/system_services.h"
#include "app/win32/win32_window_system.h"
#include "platform/windows/win_text.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace vantric;
    try {
        SystemServices system;
        Win32WindowSystem ws(instance);
        frmDrive form(ws, system.services());
        form.wire(ws);

        form.Form_Load();
        return ws.run();
    } catch (const VantricError& e) {
        ::MessageBoxW(nullptr, wide(e.message()).c_str(), L"Vantric", MB_OK | MB_ICONERROR);
    } catch (const std::exception& e) {
        ::MessageBoxW(nullptr, wide(e.what()).c_str(), L"Vantric", MB_OK | MB_ICONERROR);
    }
    return 1;
}
