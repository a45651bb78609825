#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

// What an executable costs on disk and what it loads.
struct Footprint {
    DWORD fileSize = 0;
    std::vector<std::string> importedDlls;
    // DLLs that are not in the system folder (a C or C++ runtime, say).
    std::vector<std::string> nonSystemDlls;
    std::vector<std::pair<std::string, DWORD>> sections; // name, raw size
};

bool ReadFootprint(const std::wstring& path, Footprint* footprint);
