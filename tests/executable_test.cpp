#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "tests/support/peimage.h"
#include "tests/support/programprocess.h"

namespace {

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
    PeImage image = PeImage::FromFile(ProgramPath());
    ASSERT_TRUE(image.Valid()) << "no executable at TESSARY_EXE";
    EXPECT_GT(image.FileSize(), 1024u);
    EXPECT_LT(image.FileSize(), 40u * 1024u);
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

// What Windows' binary analysers ask of an x86 program, and what the read-me
// promises: Windows 7 and later.
TEST(ExecutableFile, IsMarkedForWindows7WithEveryMitigationAndNoExceptionHandlers) {
    PeImage image = PeImage::FromFile(ProgramPath());
    ASSERT_TRUE(image.Valid()) << "no executable at TESSARY_EXE";
    const IMAGE_OPTIONAL_HEADER32& header = image.Headers().OptionalHeader;
    const struct {
        const char* field;
        int actual, expected;
    } fields[] = {
        {"relocations kept",
         image.Headers().FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED, 0},
        {"relocation directory present",
         header.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size != 0, 1},
        {"DYNAMIC_BASE", header.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE,
         IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE},
        {"NX_COMPAT", header.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT,
         IMAGE_DLLCHARACTERISTICS_NX_COMPAT},
        {"NO_SEH", header.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NO_SEH,
         IMAGE_DLLCHARACTERISTICS_NO_SEH},
        {"TERMINAL_SERVER_AWARE",
         header.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE,
         IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE},
        {"major subsystem version", header.MajorSubsystemVersion, 6},
        {"minor subsystem version", header.MinorSubsystemVersion, 1},
        {"major OS version", header.MajorOperatingSystemVersion, 6},
        {"minor OS version", header.MinorOperatingSystemVersion, 1},
    };
    for (const auto& [field, actual, expected] : fields)
        EXPECT_EQ(actual, expected) << field;

    for (const PeImage::Section& section : image.Sections()) {
        const bool writable = section.characteristics & IMAGE_SCN_MEM_WRITE;
        EXPECT_FALSE(writable && (section.characteristics & IMAGE_SCN_MEM_EXECUTE))
            << section.name << " is both writable and executable";
        EXPECT_FALSE(writable && (section.characteristics & IMAGE_SCN_MEM_SHARED))
            << section.name << " is writable and shared between processes";
    }
}

TEST(ExecutableFile, ExportsTheWindowProcedureUndecorated) {
    PeImage image = PeImage::FromFile(ProgramPath());
    ASSERT_TRUE(image.Valid());
    EXPECT_TRUE(image.ExportedNames().count("TESSARY_WNDPROC"));
}

TEST(ExecutableFile, CarriesTheIconGroupInFourSizesOf32Bits) {
    std::string group = ReadResource(ProgramPath(), RT_GROUP_ICON, MAKEINTRESOURCEW(101));
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
        EXPECT_FALSE(ReadResource(ProgramPath(), RT_ICON, MAKEINTRESOURCEW(entries[i].id)).empty());
    }
}

TEST(ExecutableFile, CarriesOneManifestForCommonControls6AsInvokerAndDpiAware) {
    // A second manifest, one the linker adds say, could be the one the loader
    // takes, without common controls 6 or DPI awareness.
    EXPECT_EQ(CountResources(ProgramPath(), RT_MANIFEST), 1);
    std::string manifest = ReadResource(ProgramPath(), RT_MANIFEST, MAKEINTRESOURCEW(1));
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

TEST(ExecutableFile, CarriesItsNamesAndTheProjectVersionForUsEnglish) {
    const std::wstring path = ProgramPath();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(TESSARY_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", (void**)&fixed, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    // Four 16-bit parts, the last 0.
    const DWORD high = major << 16 | minor, low = patch << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", (void**)&translation, &length));
    ASSERT_GE(length, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    const std::wstring version(TESSARY_PROJECT_VERSION,
                               TESSARY_PROJECT_VERSION + std::strlen(TESSARY_PROJECT_VERSION));
    const std::pair<const wchar_t*, std::wstring> strings[] = {
        {L"FileDescription", L"Ferrolyn Tessary"},
        {L"ProductName", L"Ferrolyn Tessary"},
        {L"OriginalFilename", L"tessary.exe"},
        {L"InternalName", L"tessary"},
        {L"FileVersion", version},
        {L"ProductVersion", version},
    };
    for (const auto& [name, expected] : strings) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* value = nullptr;
        ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), (void**)&value, &length)) << key;
        EXPECT_EQ(std::wstring(value), expected) << key;
    }
}
