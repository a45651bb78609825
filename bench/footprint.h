#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "tests/support/peimage.h"

// What an executable costs on disk and what it loads.
struct Footprint {
    size_t fileSize = 0;
    std::vector<std::string> importedDlls;
    // DLLs that are not in the system folder (a C or C++ runtime, say).
    std::vector<std::string> nonSystemDlls;
    std::vector<PeImage::Section> sections;
};

bool ReadFootprint(const std::wstring& path, Footprint* footprint);
