# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-thread
# variant, for std::thread and friends):
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(FTVB_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${FTVB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FTVB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${FTVB_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FTVB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their runtime (libstdc++, libgcc, winpthread) inside,
# so a copied .exe runs with no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Shipped programs carry no symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Test programs run under Wine; scripts/wine.sh keeps its own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh)
