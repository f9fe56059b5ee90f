// Start of a program on Windows: no window, no console; the program's main
// procedure does everything through the seam and the process ends with 0.
#include <windows.h>

#include "program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ProgramMain();
  return 0;
}
