// The main procedure of the program being built; each program defines it.
#pragma once

void ProgramMain();
