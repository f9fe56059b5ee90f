// The daily text viewer as a program.
#include "program.h"
#include "viewer_main.h"

void ProgramMain() { ViewerMain(); }
