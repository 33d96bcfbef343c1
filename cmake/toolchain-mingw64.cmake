# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Cross-builds the Windows program on Linux with mingw-w64 (the posix-threads
# g++ for x86-64). Every executable links the runtime statically, so that it
# needs nothing beside it but the DLLs that come with Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANTRIC_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VANTRIC_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTRIC_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTRIC_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTRIC_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine; the caller sets WINEPREFIX.
find_program(VANTRIC_WINE wine)
if(VANTRIC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTRIC_WINE})
endif()
