#include <gtest/gtest.h>
#include <windows.h>
#include <stdlib.h>
#include <string.h>
#include <string>

// The platform a run stands for, as the scripts name it in TESSARY_PLATFORM,
// against what the system tells this 32-bit process: a run in a Wine prefix
// of the wrong kind fails here rather than passing for another platform.

namespace {

struct Platform {
    const char* name;
    DWORD major;
    DWORD minor;
    DWORD firstBuild;
    // A 32-bit process on 64-bit Windows: WOW64, a SysWOW64 folder, an AMD64
    // processor beneath.
    bool wow64;
};

// Microsoft's numbers: Windows 7 is 6.1 (build 7600, 7601 with its service
// pack), Windows 11 is 10.0 from build 22000 on.
const Platform kPlatforms[] = {
    {"win7-x86", 6, 1, 7600, false},
    {"win11-wow64", 10, 0, 22000, true},
};

// The version the system reports, whatever the manifest of the caller says.
OSVERSIONINFOW ReportedVersion() {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (rtlGetVersion)
        rtlGetVersion(&version);
    return version;
}

} // namespace

TEST(Platform, IsTheOneTheRunStandsFor) {
    const char* asked = getenv("TESSARY_PLATFORM");
    if (!asked)
        GTEST_SKIP() << "the run names no platform in TESSARY_PLATFORM (scripts/test.sh does)";
    const Platform* platform = nullptr;
    for (const Platform& known : kPlatforms) {
        if (strcmp(known.name, asked) == 0)
            platform = &known;
    }
    ASSERT_NE(platform, nullptr) << "TESSARY_PLATFORM=" << asked << " names no known platform";

    OSVERSIONINFOW version = ReportedVersion();
    EXPECT_EQ(version.dwMajorVersion, platform->major);
    EXPECT_EQ(version.dwMinorVersion, platform->minor);
    EXPECT_GE(version.dwBuildNumber, platform->firstBuild);

    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_EQ(wow64 != FALSE, platform->wow64) << "IsWow64Process";
    SYSTEM_INFO native = {};
    GetNativeSystemInfo(&native);
    EXPECT_EQ(native.wProcessorArchitecture,
              platform->wow64 ? PROCESSOR_ARCHITECTURE_AMD64 : PROCESSOR_ARCHITECTURE_INTEL);
    wchar_t folder[MAX_PATH] = L"";
    UINT length = GetSystemWow64DirectoryW(folder, MAX_PATH);
    EXPECT_EQ(length != 0, platform->wow64) << "SysWOW64: " << (length ? "present" : "absent");
    std::string machineBeneath =
        getenv("PROCESSOR_ARCHITEW6432") ? getenv("PROCESSOR_ARCHITEW6432") : "";
    EXPECT_EQ(machineBeneath, platform->wow64 ? "AMD64" : "");
}
