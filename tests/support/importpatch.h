#pragma once
#include <windows.h>
#include <vector>

// Sends this executable's calls to an imported function elsewhere for the
// object's life, by rewriting its import address table. The program's code
// linked into the executable calls through the same table, so its calls are
// caught too, and no other module's.
class ImportPatch {
  public:
    ImportPatch(const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // The imported function, for the replacement to call on; nullptr when the
    // executable does not import it, and then nothing is patched.
    void* Original() const {
        return original_;
    }

  private:
    std::vector<void**> slots_;
    void* original_ = nullptr;
};
