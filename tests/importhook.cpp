#include "tests/importhook.h"
#include <string.h>
#include "tests/support/peimage.h"

void* HookImport(const char* dll, const char* function, void* replacement) {
    HMODULE self = GetModuleHandleW(NULL);
    for (const PeImage::Import& import : PeImage::FromModule(self).Imports()) {
        if (_stricmp(import.dll.c_str(), dll) != 0 || import.function != function)
            continue;
        void** slot = (void**)((BYTE*)self + import.slotRva);
        DWORD protection;
        VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
        void* original = *slot;
        *slot = replacement;
        VirtualProtect(slot, sizeof(void*), protection, &protection);
        return original;
    }
    return nullptr;
}
