# The smoke of the shipped 32-bit build: existing cases of the Windows test programs, picked with a
# gtest filter and labelled smoke32. Where 32-bit code cannot run natively the test command runs the
# full suite against the x86-64 build and then `ctest --preset mingw -L smoke32` under 32-bit Wine
# emulated by qemu-user (wine/emulate-i386.sh). The full suite leaves them out (-LE smoke32):
# it runs the same cases itself. Included by the top CMakeLists in the MinGW tree.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()

function(harbek_smoke32 name target filter)
  if(TARGET ${target})
    add_test(NAME smoke32.${name} COMMAND ${target} --gtest_filter=${filter})
    set_tests_properties(smoke32.${name} PROPERTIES
      LABELS smoke32 TIMEOUT 600 RESOURCE_LOCK wine_display
      # A zero-test run means a case was renamed: the filter must follow it.
      FAIL_REGULAR_EXPRESSION "Running 0 tests")
  endif()
endfunction()

# A repair that succeeds (the i686 test compactor as JetComp.exe), a missing database, a
# compactor that crashes (the access violation's status must come through the emulator).
harbek_smoke32(repair harbek_e2e "SuccessfulRepair.*:MissingFile.MissingDatabaseStopsWithItsPath")
harbek_smoke32(compactor_crash harbek_e2e_failures "CompactorFailure.CrashIsReportedWithItsStatusInHexAndTheRowsAreSalvagedOnYes")
# The browse dialog: its two filters and cancel, then a chosen file repaired.
harbek_smoke32(browse harbek_e2e_ui
  "BrowseDialog.OffersTheMdbChoiceFirstAndCancelEmptiesTheTypedPath:BrowseDialog.ChosenFileFillsTheFieldWithItsFullPathAndIsRepaired")
# Version information read back through the 32-bit API, the icon, the 76-byte dialog record.
harbek_smoke32(resources resources_test "VersionInfo.*:Icon.*")
harbek_smoke32(open_file_record harbek_win32_tests "OpenFileRecord.*")
# Every kind of processor fault, through the emulator and the trap-number library.
add_executable(fault_codes_test ${CMAKE_CURRENT_LIST_DIR}/faults/fault_codes_test.cpp)
target_compile_definitions(fault_codes_test PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(fault_codes_test PRIVATE test_support GTest::gtest)
harbek_smoke32(fault_codes fault_codes_test "FaultCodes.*")
# The stand-in JetComp.exe that ships for demos, on the real databases.
harbek_smoke32(standin standin_tests "StandinCopy.CopiesRealJetDatabasesByteForByte")
