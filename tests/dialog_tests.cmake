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
