# The Windows platform layer, added to vantric_core: the Win32 API and the
# standard library only.
target_sources(vantric_core PRIVATE
  platform/windows/block_hooks.cpp
  platform/windows/clock.cpp
  platform/windows/drive_source.cpp
  platform/windows/file_system.cpp
  platform/windows/folders.cpp
  platform/windows/io_engines.cpp
  platform/windows/numeric_locale.cpp
  platform/windows/scratch_claims.cpp
  platform/windows/stop_hook.cpp
  platform/windows/win_text.cpp
)
# Paths and texts cross into the system as UTF-16.
target_compile_definitions(vantric_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_link_libraries(vantric_core PUBLIC shell32 ole32 advapi32)

# The program: one vantric.exe with native windows, its runtime linked in
# (see the toolchain file), at the top of the build folder.
set(VANTRIC_WINDOWS_DIR ${CMAKE_CURRENT_SOURCE_DIR}/platform/windows)
configure_file(platform/windows/vantric.manifest.in vantric.manifest @ONLY)
configure_file(platform/windows/vantric.rc.in vantric.rc @ONLY)
add_executable(vantric WIN32
  platform/windows/win_main.cpp
  platform/windows/win32_window_system.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/vantric.rc
)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/vantric.rc PROPERTIES
  OBJECT_DEPENDS "${VANTRIC_WINDOWS_DIR}/vantric.ico;${CMAKE_CURRENT_BINARY_DIR}/vantric.manifest")
target_link_libraries(vantric PRIVATE vantric_form comctl32 user32 gdi32)
# No symbols in the shipped program.
target_link_options(vantric PRIVATE -municode -s)
set_target_properties(vantric PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
vantric_warnings(vantric)
