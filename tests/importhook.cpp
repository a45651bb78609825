#include "tests/importhook.h"
#include <windows.h>
#include <string.h>

void* HookImport(const char* dll, const char* function, void* replacement) {
    BYTE* base = (BYTE*)GetModuleHandleW(NULL);
    auto* dos = (IMAGE_DOS_HEADER*)base;
    auto* nt = (IMAGE_NT_HEADERS*)(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = (IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress); entry->Name;
         ++entry) {
        if (_stricmp((const char*)(base + entry->Name), dll) != 0)
            continue;
        auto* names = (IMAGE_THUNK_DATA*)(base + entry->OriginalFirstThunk);
        auto* addresses = (IMAGE_THUNK_DATA*)(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = (IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData);
            if (strcmp((const char*)byName->Name, function) != 0)
                continue;
            void* original = (void*)addresses->u1.Function;
            DWORD protection;
            VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            addresses->u1.Function = (ULONG_PTR)replacement;
            VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
            return original;
        }
    }
    return nullptr;
}
