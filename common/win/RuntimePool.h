// The statically linked C++ runtime sets aside an emergency pool for
// exceptions when a module loads, from the C runtime's shared heap. A module
// unloaded while the process lives on must give it back, or every load and
// unload leaves it behind.
#pragma once

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __freeres() noexcept;
}
#endif

namespace win {

// From DLL_PROCESS_DETACH; nothing of the module's runs after it.
inline void ReleaseRuntimePool(bool processEnds) {
#if defined(__GLIBCXX__)
    if (!processEnds) __gnu_cxx::__freeres();
#else
    (void)processEnds;
#endif
}

}  // namespace win
