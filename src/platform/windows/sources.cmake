# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The Windows platform layer: the Win32 API and the standard library only.
target_sources(vantric_platform_windows PRIVATE
  platform/windows/block_hooks.cpp
  platform/windows/clock.cpp
  platform/windows/drive_source.cpp
  platform/windows/file_storage.cpp
  platform/windows/file_system.cpp
  platform/windows/folders.cpp
  platform/windows/io_engines.cpp
  platform/windows/numeric_locale.cpp
  platform/windows/private_folder.cpp
  platform/windows/scratch_claims.cpp
  platform/windows/session_watch.cpp
  platform/windows/stop_hook.cpp
  platform/windows/win_text.cpp
  platform/windows/window_class.cpp
)
# Paths and texts cross into the system as UTF-16.
target_compile_definitions(vantric_platform_windows PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_link_libraries(vantric_platform_windows PUBLIC shell32 ole32 advapi32)
