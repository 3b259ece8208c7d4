#include <windows.h>

#include "app/RunModes.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RunProgram(ReadProcessCommandLine());
    return 0;
}
