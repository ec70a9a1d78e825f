# Cross-building the Windows programs on Debian with mingw-w64 (POSIX threads, so that
# std::thread and std::mutex exist): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LX_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained programs: no libstdc++, libgcc or winpthread DLL to ship beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine on the build machine.
find_program(LX_WINE wine)
if(LX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LX_WINE})
endif()
