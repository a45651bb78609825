#include "app/commandline.h"

LPWSTR SkipProgramName(LPWSTR commandLine) {
    LPWSTR p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p > L' ')
            ++p;
    }
    while (*p == L' ')
        ++p;
    return p;
}
