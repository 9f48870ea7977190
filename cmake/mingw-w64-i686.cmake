# Cross toolchain: 32-bit Windows with MinGW-w64, posix thread model (std::thread, std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(KWW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KWW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KWW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KWW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KWW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test and benchmark executables run under Wine; ctest goes through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
