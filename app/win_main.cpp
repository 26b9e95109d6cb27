#include "cdriveinfo.h"
#include "dispatch.h"
#include "fso_drive_service.h"
#include "win_form.h"
#include "win_system_info.h"

#include <exception>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tarvino;
    try {
        win32::ComApartment com;
        win32::WinForm form(instance);
        win32::FsoDriveServiceFactory drives;
        CDriveInfo window(form, drives, std::make_unique<win32::WinSystemInfo>(),
                          win32::userDecimalSeparator());
        form.setHandlers([&window](int key, int shift) { window.Form_KeyDown(key, shift); },
                         [&window] { window.Timer1_Timer(); });
        window.Form_Load();
        form.showCentred();
        return form.run();
    } catch (const std::exception& e) {
        win32::reportFailure(e.what());
        return 1;
    }
}
