#pragma once

// Redirects this executable's calls to an imported function by rewriting its
// import address table. The program's code is linked into the test executable,
// so this sees every call that code makes, and nothing else's. Returns the
// function that was there before, or nullptr when the import is not found.
void* HookImport(const char* dll, const char* function, void* replacement);
