#include "tests/support/importpatch.h"
#include <string.h>
#include "tests/support/peimage.h"

namespace {

void WriteSlot(void** slot, void* value) {
    DWORD previous;
    if (VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous)) {
        *slot = value;
        VirtualProtect(slot, sizeof *slot, previous, &previous);
    }
}

} // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement) {
    BYTE* base = (BYTE*)GetModuleHandleW(NULL);
    // A linker may import the same function through more than one slot.
    for (const PeImage::Import& import : PeImage::FromModule((HMODULE)base).Imports()) {
        if (import.function == function && _stricmp(import.dll.c_str(), dll) == 0)
            slots_.push_back((void**)(base + import.slotRva));
    }
    if (slots_.empty())
        return;
    original_ = *slots_.front();
    for (void** slot : slots_)
        WriteSlot(slot, replacement);
}

ImportPatch::~ImportPatch() {
    for (void** slot : slots_)
        WriteSlot(slot, original_);
}
