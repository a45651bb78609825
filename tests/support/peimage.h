#pragma once
#include <windows.h>
#include <set>
#include <string>
#include <vector>

// Just enough of a 32-bit executable's layout to read its headers, sections,
// imports, exports and resources, from its file or from a module loaded in
// this process.

std::vector<unsigned char> ReadWholeFile(const std::wstring& path);

class PeImage {
  public:
    // An image that reads as not Valid() when the file is missing or is no
    // 32-bit executable.
    static PeImage FromFile(const std::wstring& path);
    static PeImage FromModule(HMODULE module);

    bool Valid() const {
        return nt_ != nullptr;
    }
    // Bytes in the file; 0 for a loaded module.
    size_t FileSize() const {
        return bytes_.size();
    }
    const IMAGE_NT_HEADERS32& Headers() const {
        return *nt_;
    }

    struct Section {
        std::string name;
        DWORD rawSize;
        DWORD characteristics; // IMAGE_SCN_ flags
    };
    std::vector<Section> Sections() const;

    struct Import {
        std::string dll;
        std::string function; // empty for an import by ordinal
        DWORD slotRva;        // where the loader puts the function's address
    };
    std::vector<Import> Imports() const;
    // The imported DLLs' names in upper case, each once.
    std::set<std::string> ImportedDlls() const;
    std::set<std::string> ExportedNames() const;

    // The data at a relative virtual address, or null where the image holds
    // none.
    const void* AtRva(DWORD rva) const;

  private:
    PeImage() = default;
    void ReadHeaders(const unsigned char* base, size_t size);

    std::vector<unsigned char> bytes_;
    const unsigned char* base_ = nullptr;
    const IMAGE_NT_HEADERS32* nt_ = nullptr;
    bool mapped_ = false;
};

// One resource of an executable file, or an empty string.
std::string ReadResource(const std::wstring& path, LPCWSTR type, LPCWSTR name);
// How many resources of the type the file holds, each name in each language
// counted; -1 when the file cannot be read.
int CountResources(const std::wstring& path, LPCWSTR type);
