// Restricts the DLL search to System32 before anything else of the process
// runs. The installer is typically started from a Downloads folder, where a
// planted DLL with a system name would otherwise be found first. Every DLL
// the installer uses beyond the KnownDLLs is delay-loaded, so it is
// resolved only after this call.
#include <windows.h>

namespace {

struct DllSearchOrder {
    DllSearchOrder() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }
};

// Constructed before every other static object of the program, the
// application object included (it opens the internet handle).
__attribute__((init_priority(101))) DllSearchOrder dllSearchOrder;

}  // namespace
