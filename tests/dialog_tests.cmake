# The dialogs: the framework's dialog routing, the compiled resources, and
# the real main dialog made from its template and driven like a user would.
dunko_test(dialog_tests
  CDialogTest.cpp
  DialogResourceTest.cpp
  MainDialogTest.cpp
  MainDialogThreadTest.cpp
  GAME_RESOURCES)
# Reading the version resource back.
target_link_libraries(dialog_tests PRIVATE version)
# The players' text that goes into the ZIP, read by the test from its
# working directory (a copy, byte for byte, of the one CMake fills in).
configure_file(${CMAKE_BINARY_DIR}/dist/ReadMe.txt ${CMAKE_CURRENT_BINARY_DIR}/ReadMe.txt COPYONLY)
