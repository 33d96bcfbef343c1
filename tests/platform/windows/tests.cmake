# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The portable core's tests on the doubles, the Windows layer's on the drives Wine maps;
# run under the toolchain's emulator in the private WINEPREFIX the test script gives.
add_executable(vantric_tests ${portable_tests}
  platform/windows/drive_source_test.cpp
  platform/windows/file_system_test.cpp
  platform/windows/system_test.cpp
  app/win32/main_window_test.cpp
)
target_link_libraries(vantric_tests PRIVATE vantric_fakes vantric_win32 GTest::gtest GTest::gtest_main)
target_compile_options(vantric_tests PRIVATE -Wno-missing-field-initializers)
vantric_warnings(vantric_tests)
gtest_discover_tests(vantric_tests NO_PRETTY_VALUES DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER -ChildOnly.*:Win32Window.*:Win32/LateInputs.*:Windows/EndedMidPass.*
  PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED wine_links ENVIRONMENT "VANTRIC_TEST_LINK=C:/vantric-test-link")

add_test(NAME links.library_layers COMMAND bash ${PROJECT_SOURCE_DIR}/tests/library_layers.sh ${PROJECT_SOURCE_DIR}
  ${CMAKE_CURRENT_BINARY_DIR}/layers -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})

# The user's number conventions in the locale Wine takes from the host's environment.
function(vantric_user_locale_test locale figures)
  string(REGEX REPLACE "([][.|])" "\\\\\\1" pattern "${figures}")
  add_test(NAME windows.user_locale.${locale}
    COMMAND vantric_tests --gtest_also_run_disabled_tests --gtest_filter=ChildOnly.DISABLED_PrintUserFigures)
  # Wine writes the user locale into the prefix's registry as each process starts: none may start meanwhile.
  set_tests_properties(windows.user_locale.${locale} PROPERTIES ENVIRONMENT "LC_ALL=${locale}" RUN_SERIAL TRUE
    PASS_REGULAR_EXPRESSION "figures=\\[${pattern}\\]")
endfunction()
vantric_user_locale_test(de_DE.UTF-8 "81.191,02 MB|1.024 KB|163,622203|,0062")
vantric_user_locale_test(en_US.UTF-8 "81,191.02 MB|1,024 KB|163.622203|.0062")
vantric_user_locale_test(de_CH.UTF-8 "81’191.02 MB|1’024 KB|163.622203|.0062")

# A host folder linked into drive C:, which Wine shows as a reparse point.
add_test(NAME windows.link_fixture COMMAND bash -uc "mkdir -p \"$WINEPREFIX/link-target\" &&
  ln -sfn \"$WINEPREFIX/link-target\" \"$WINEPREFIX/drive_c/vantric-test-link\"")
set_tests_properties(windows.link_fixture PROPERTIES FIXTURES_SETUP wine_links)

# The program under Wine on a private X server, driven with xdotool; before it, the tests that make windows.
add_test(NAME windows.gui_run
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app/win32/gui_run.sh $<TARGET_FILE:vantric>
          ${CMAKE_CURRENT_BINARY_DIR}/gui-run $<TARGET_FILE:vantric_tests>)
set_tests_properties(windows.gui_run PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
