#include "bench/footprint.h"

namespace {

std::vector<unsigned char> ReadWholeFile(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, NULL));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), (DWORD)bytes.size(), &read, NULL))
        read = 0;
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

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
    std::vector<unsigned char> bytes = ReadWholeFile(path);
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return false;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)bytes.data();
    if (dos->e_magic != IMAGE_DOS_SIGNATURE ||
        (size_t)dos->e_lfanew + sizeof(IMAGE_NT_HEADERS32) > bytes.size())
        return false;
    const IMAGE_NT_HEADERS32* nt = (const IMAGE_NT_HEADERS32*)(bytes.data() + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return false;
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    WORD sectionCount = nt->FileHeader.NumberOfSections;

    // The file offset of an address, or 0 where no section's data holds it.
    auto at = [&](DWORD rva) -> const char* {
        for (WORD i = 0; i < sectionCount; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress &&
                rva < section.VirtualAddress + section.SizeOfRawData &&
                section.PointerToRawData + (rva - section.VirtualAddress) < bytes.size())
                return (const char*)bytes.data() + section.PointerToRawData +
                       (rva - section.VirtualAddress);
        }
        return nullptr;
    };

    *footprint = Footprint();
    footprint->fileSize = (DWORD)bytes.size();
    for (WORD i = 0; i < sectionCount; ++i) {
        const char* name = (const char*)sections[i].Name;
        footprint->sections.emplace_back(std::string(name, strnlen(name, IMAGE_SIZEOF_SHORT_NAME)),
                                         sections[i].SizeOfRawData);
    }
    DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* entry = (const IMAGE_IMPORT_DESCRIPTOR*)at(importRva); entry && entry->Name;
         ++entry) {
        const char* name = at(entry->Name);
        if (!name)
            return false;
        footprint->importedDlls.push_back(name);
        if (!InSystemFolder(name))
            footprint->nonSystemDlls.push_back(name);
    }
    return true;
}
