// Entry point of canopia.exe.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "カノピア", "カノピア", MB_OK);
    return 0;
}
