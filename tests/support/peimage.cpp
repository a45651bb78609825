#include "tests/support/peimage.h"
#include <string.h>

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

PeImage PeImage::FromFile(const std::wstring& path) {
    PeImage image;
    image.bytes_ = ReadWholeFile(path);
    image.ReadHeaders(image.bytes_.data(), image.bytes_.size());
    return image;
}

PeImage PeImage::FromModule(HMODULE module) {
    PeImage image;
    image.mapped_ = true;
    const unsigned char* base = (const unsigned char*)module;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)base;
    image.ReadHeaders(base, (size_t)dos->e_lfanew + sizeof(IMAGE_NT_HEADERS32));
    return image;
}

void PeImage::ReadHeaders(const unsigned char* base, size_t size) {
    if (size < sizeof(IMAGE_DOS_HEADER))
        return;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)base;
    if (dos->e_magic != IMAGE_DOS_SIGNATURE ||
        (size_t)dos->e_lfanew + sizeof(IMAGE_NT_HEADERS32) > size)
        return;
    const IMAGE_NT_HEADERS32* nt = (const IMAGE_NT_HEADERS32*)(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return;
    base_ = base;
    nt_ = nt;
}

const void* PeImage::AtRva(DWORD rva) const {
    if (!nt_ || !rva)
        return nullptr;
    if (mapped_)
        return base_ + rva;
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt_);
    for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
        const IMAGE_SECTION_HEADER& section = sections[i];
        DWORD offset = rva - section.VirtualAddress;
        if (rva >= section.VirtualAddress && offset < section.SizeOfRawData &&
            section.PointerToRawData + offset < bytes_.size())
            return base_ + section.PointerToRawData + offset;
    }
    return nullptr;
}

std::vector<PeImage::Section> PeImage::Sections() const {
    std::vector<Section> sections;
    if (!nt_)
        return sections;
    const IMAGE_SECTION_HEADER* headers = IMAGE_FIRST_SECTION(nt_);
    for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
        const char* name = (const char*)headers[i].Name;
        sections.push_back({std::string(name, strnlen(name, IMAGE_SIZEOF_SHORT_NAME)),
                            headers[i].SizeOfRawData, headers[i].Characteristics});
    }
    return sections;
}

std::vector<PeImage::Import> PeImage::Imports() const {
    std::vector<Import> imports;
    if (!nt_)
        return imports;
    DWORD rva = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* entry = (const IMAGE_IMPORT_DESCRIPTOR*)AtRva(rva); entry && entry->Name; ++entry) {
        const char* dll = (const char*)AtRva(entry->Name);
        if (!dll)
            break;
        // Linkers that leave the name table out name the functions in the
        // address table, until the loader fills it in.
        DWORD namesRva = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
        auto* names = (const IMAGE_THUNK_DATA32*)AtRva(namesRva);
        for (DWORD slot = 0; names && names[slot].u1.AddressOfData; ++slot) {
            std::string function;
            if (!IMAGE_SNAP_BY_ORDINAL32(names[slot].u1.Ordinal)) {
                auto* byName = (const IMAGE_IMPORT_BY_NAME*)AtRva(names[slot].u1.AddressOfData);
                if (byName)
                    function = (const char*)byName->Name;
            }
            imports.push_back({dll, function, entry->FirstThunk + slot * 4});
        }
    }
    return imports;
}

std::set<std::string> PeImage::ImportedDlls() const {
    std::set<std::string> names;
    for (const Import& import : Imports()) {
        std::string name = import.dll;
        for (char& c : name)
            c = (char)toupper((unsigned char)c);
        names.insert(name);
    }
    return names;
}

std::set<std::string> PeImage::ExportedNames() const {
    std::set<std::string> names;
    if (!nt_)
        return names;
    DWORD rva = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    auto* directory = (const IMAGE_EXPORT_DIRECTORY*)AtRva(rva);
    if (!directory)
        return names;
    auto* nameRvas = (const DWORD*)AtRva(directory->AddressOfNames);
    for (DWORD i = 0; nameRvas && i < directory->NumberOfNames; ++i) {
        if (const char* name = (const char*)AtRva(nameRvas[i]))
            names.insert(name);
    }
    return names;
}

namespace {

HMODULE LoadForResources(const std::wstring& path) {
    return LoadLibraryExW(path.c_str(), NULL,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count) {
    ++*(int*)count;
    return TRUE;
}

BOOL CALLBACK CountLanguagesOfName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR count) {
    EnumResourceLanguagesW(module, type, name, CountLanguage, count);
    return TRUE;
}

} // namespace

std::string ReadResource(const std::wstring& path, LPCWSTR type, LPCWSTR name) {
    HMODULE module = LoadForResources(path);
    if (!module)
        return std::string();
    std::string bytes;
    if (HRSRC found = FindResourceW(module, name, type)) {
        const char* data = (const char*)LockResource(LoadResource(module, found));
        if (data)
            bytes.assign(data, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return bytes;
}

int CountResources(const std::wstring& path, LPCWSTR type) {
    HMODULE module = LoadForResources(path);
    if (!module)
        return -1;
    int count = 0;
    EnumResourceNamesW(module, type, CountLanguagesOfName, (LONG_PTR)&count);
    FreeLibrary(module);
    return count;
}
