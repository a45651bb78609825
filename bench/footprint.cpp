#include "bench/footprint.h"

namespace {

bool InSystemFolder(const std::string& dll) {
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    std::wstring path(folder, length);
    path += L'\\';
    path += std::wstring(dll.begin(), dll.end());
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool ReadFootprint(const std::wstring& path, Footprint* footprint) {
    PeImage image = PeImage::FromFile(path);
    if (!image.Valid())
        return false;
    *footprint = Footprint();
    footprint->fileSize = image.FileSize();
    footprint->sections = image.Sections();
    for (const std::string& dll : image.ImportedDlls()) {
        footprint->importedDlls.push_back(dll);
        if (!InSystemFolder(dll))
            footprint->nonSystemDlls.push_back(dll);
    }
    return true;
}
