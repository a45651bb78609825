#pragma once
#include <windows.h>

// The command line without the program's own name and the spaces after it.
LPWSTR SkipProgramName(LPWSTR commandLine);
