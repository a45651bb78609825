#include <gtest/gtest.h>
#include <windows.h>
#include <set>
#include <string>
#include <vector>
#include "tests/programprocess.h"

namespace {

std::vector<unsigned char> ReadWholeFile(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, NULL));
    DWORD read = 0;
    ReadFile(file, bytes.data(), (DWORD)bytes.size(), &read, NULL);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Just enough of the executable's layout to read its import and export tables.
class PortableExecutable {
  public:
    explicit PortableExecutable(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {
        const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)bytes_.data();
        nt_ = (const IMAGE_NT_HEADERS32*)(bytes_.data() + dos->e_lfanew);
        sections_ = IMAGE_FIRST_SECTION(nt_);
    }
    const IMAGE_NT_HEADERS32& Headers() const {
        return *nt_;
    }
    const void* AtRva(DWORD rva) const {
        for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections_[i];
            if (rva >= section.VirtualAddress &&
                rva < section.VirtualAddress + section.Misc.VirtualSize)
                return bytes_.data() + section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return nullptr;
    }
    std::set<std::string> ImportedDlls() const {
        std::set<std::string> names;
        DWORD rva = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* entry = (const IMAGE_IMPORT_DESCRIPTOR*)AtRva(rva); entry && entry->Name;
             ++entry) {
            std::string name = (const char*)AtRva(entry->Name);
            for (char& c : name)
                c = (char)toupper((unsigned char)c);
            names.insert(name);
        }
        return names;
    }
    std::set<std::string> ExportedNames() const {
        std::set<std::string> names;
        DWORD rva = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
        auto* directory = (const IMAGE_EXPORT_DIRECTORY*)AtRva(rva);
        if (!directory)
            return names;
        auto* nameRvas = (const DWORD*)AtRva(directory->AddressOfNames);
        for (DWORD i = 0; i < directory->NumberOfNames; ++i)
            names.insert((const char*)AtRva(nameRvas[i]));
        return names;
    }

  private:
    std::vector<unsigned char> bytes_;
    const IMAGE_NT_HEADERS32* nt_;
    const IMAGE_SECTION_HEADER* sections_;
};

class Executable : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExW(ProgramPath().c_str(), NULL,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        FreeLibrary(module);
    }
    std::string Resource(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceW(module, name, type);
        if (!found)
            return std::string();
        const char* data = (const char*)LockResource(LoadResource(module, found));
        return std::string(data, SizeofResource(module, found));
    }
    HMODULE module = NULL;
};

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

} // namespace

TEST(ExecutableFile, IsASmall32BitGuiProgramImportingOnlySystemDlls) {
    std::vector<unsigned char> bytes = ReadWholeFile(ProgramPath());
    ASSERT_GT(bytes.size(), 1024u);
    EXPECT_LT(bytes.size(), 64u * 1024u);
    PortableExecutable image(std::move(bytes));
    EXPECT_EQ(image.Headers().FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(image.Headers().OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL",  "GDI32.DLL",
                                          "COMCTL32.DLL", "OLE32.DLL",   "ADVAPI32.DLL",
                                          "MSVCRT.DLL",   "SHELL32.DLL", "UXTHEME.DLL"};
    std::set<std::string> imports = image.ImportedDlls();
    EXPECT_TRUE(imports.count("USER32.DLL"));
    for (const std::string& dll : imports)
        EXPECT_TRUE(system.count(dll)) << dll << " is not part of a clean Windows";
}

TEST(ExecutableFile, ExportsTheWindowProcedureUndecorated) {
    PortableExecutable image(ReadWholeFile(ProgramPath()));
    EXPECT_TRUE(image.ExportedNames().count("TESSARY_WNDPROC"));
}

TEST_F(Executable, CarriesTheIconGroupInFourSizesOf32Bits) {
    std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(101));
    ASSERT_GE(group.size(), 6u);
    const WORD* header = (const WORD*)group.data();
    ASSERT_EQ(header[2], 4);
    ASSERT_EQ(group.size(), 6u + 4 * sizeof(IconGroupEntry));
    const IconGroupEntry* entries = (const IconGroupEntry*)(group.data() + 6);
    const int sizes[] = {48, 32, 24, 16};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(sizes[i]);
        EXPECT_EQ(entries[i].width, sizes[i]);
        EXPECT_EQ(entries[i].height, sizes[i]);
        EXPECT_EQ(entries[i].bitCount, 32);
        EXPECT_FALSE(Resource(RT_ICON, MAKEINTRESOURCEW(entries[i].id)).empty());
    }
}

TEST_F(Executable, CarriesAManifestForCommonControls6AsInvokerAndDpiAware) {
    std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    const char* settings[] = {
        "name=\"Tessary\"",
        "version=\"1.0.0.0\"",
        "<description>Tessary</description>",
        "name=\"Microsoft.Windows.Common-Controls\"",
        "version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        "language=\"*\"",
        "level=\"asInvoker\"",
        "uiAccess=\"false\"",
        ">true</dpiAware>",
    };
    for (const char* setting : settings)
        EXPECT_NE(manifest.find(setting), std::string::npos) << setting;
}
