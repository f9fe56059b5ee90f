// The install and remove tool as a program.
#include "program.h"
#include "tool_main.h"

void ProgramMain() { ToolMain(); }
