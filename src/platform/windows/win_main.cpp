// The Windows program: the main window's logic on native windows, with the
// drives, files and clock of Windows.

#include "app/frmDrive.h"
#include "platform/folders.h"
#include "platform/windows/win32_window_system.h"
#include "platform/windows/win_text.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace vantric;
    try {
        auto drives = systemDriveSource();
        auto fs = systemFileSystem();
        const std::string folder = [] {
            try {
                return programFolder();
            } catch (const std::exception&) {
                return std::string(1, '.');
            }
        }();

        Win32WindowSystem ws(instance);
        frmDrive form(ws, Services {*drives, *fs, systemCounter(), systemClock(), environmentNumericLocale(), folder,
                                    documentsFolder()});
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
