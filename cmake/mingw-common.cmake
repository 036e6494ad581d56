# What both MinGW-w64 toolchains share; the including file sets
# PAD_MINGW_PREFIX and CMAKE_SYSTEM_PROCESSOR. The posix thread model gives
# the C++ runtime its mutexes, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PAD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PAD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PAD_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PAD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything depends on Windows system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
