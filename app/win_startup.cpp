#include "win_startup.h"

#include "cdriveinfo.h"
#include "dispatch.h"
#include "fso_drive_service.h"
#include "win_form.h"
#include "win_system_info.h"

#include <exception>

namespace tarvino {

int runInformationWindow(HINSTANCE instance,
                         const std::function<Form&(win32::WinForm&)>& writeThrough) {
    try {
        win32::ComApartment com;
        win32::WinForm form(instance);
        win32::FsoDriveServiceFactory drives;
        CDriveInfo window(writeThrough ? writeThrough(form) : form, drives,
                          std::make_unique<win32::WinSystemInfo>(), win32::userDecimalSeparator());
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

} // namespace tarvino
