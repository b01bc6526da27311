# Cross-compiles the Windows program, tavra.exe, with Debian's mingw-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVRA_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model, whose libstdc++ is the complete one (std::thread, std::mutex).
set(CMAKE_C_COMPILER ${TAVRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: no libstdc++, libgcc or winpthread DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests of the cross build run under Wine when it is there.
find_program(TAVRA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TAVRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVRA_WINE})
endif()
# The test list is read when the tests run, not at build time, so building needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
