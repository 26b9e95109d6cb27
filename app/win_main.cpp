#include "win_startup.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return tarvino::runInformationWindow(instance);
}
