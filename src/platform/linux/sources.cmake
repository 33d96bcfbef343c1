# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The Linux platform layer.
target_sources(vantric_platform_linux PRIVATE
  platform/linux/block_hooks.cpp
  platform/linux/clock.cpp
  platform/linux/drive_source.cpp
  platform/linux/file_storage.cpp
  platform/linux/file_system.cpp
  platform/linux/folders.cpp
  platform/linux/mount_classify.cpp
  platform/linux/mount_letters.cpp
  platform/linux/mount_table.cpp
  platform/linux/numeric_locale.cpp
  platform/linux/stop_hook.cpp
  platform/linux/sync_engine.cpp
)
find_package(Threads REQUIRED)
target_link_libraries(vantric_platform_linux PUBLIC Threads::Threads)

# io_uring where liburing is found; the synchronous engine everywhere.
if(URING_FOUND)
  message(STATUS "liburing ${URING_VERSION} found: file passes use the io_uring engine")
  target_sources(vantric_platform_linux PRIVATE platform/linux/uring_engine.cpp)
  target_link_libraries(vantric_platform_linux PRIVATE PkgConfig::URING)
else()
  message(STATUS "liburing not found: file passes use the synchronous engine only")
  target_sources(vantric_platform_linux PRIVATE platform/linux/no_uring_engine.cpp)
endif()
