// The least a Windows program can do that shows one message box: the
// measure for how long the viewer takes to its first box.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, "Orvola", "Orvola", MB_OK);
  return 0;
}
