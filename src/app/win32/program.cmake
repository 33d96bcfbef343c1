# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The Windows program: one vantric.exe with native windows, its runtime
# linked in (see the toolchain file), at the top of the build folder.
add_library(vantric_win32 STATIC
  app/win32/win32_window_system.cpp
  app/win32/win32_main_window.cpp
  ui/win32/win_look.cpp
  ui/win32/wait_window.cpp
  ui/win32/spoken.cpp
)
target_link_libraries(vantric_win32 PUBLIC vantric_logic vantric_system comctl32 user32 gdi32 oleacc ole32 oleaut32)
vantric_warnings(vantric_win32)

set(VANTRIC_WINDOWS_DIR ${CMAKE_CURRENT_SOURCE_DIR}/app/win32)
configure_file(app/win32/vantric.manifest.in vantric.manifest @ONLY)
configure_file(app/win32/vantric.rc.in vantric.rc @ONLY)
add_executable(vantric WIN32 app/win32/win_main.cpp ${CMAKE_CURRENT_BINARY_DIR}/vantric.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/vantric.rc PROPERTIES
  OBJECT_DEPENDS "${VANTRIC_WINDOWS_DIR}/vantric.ico;${CMAKE_CURRENT_BINARY_DIR}/vantric.manifest")
target_link_libraries(vantric PRIVATE vantric_win32)
# No symbols in the shipped program.
target_link_options(vantric PRIVATE -municode -s)
set_target_properties(vantric PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
vantric_warnings(vantric)
