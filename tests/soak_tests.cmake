# Leak accounting, and the randomized run of the real dialog.
dunko_test(soak_tests
  GdiAccountingTest.cpp
  SoakTest.cpp
  SoakDialog.cpp
  SoakDriver.cpp
  GAME_RESOURCES)

# The soak runs for DUNKO_SOAK_SECONDS (30 by default), read when it runs;
# so is its time limit, by a script CTest reads after the tests are listed.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/soak_timeout.cmake [=[
set(dunko_soak_seconds 30)
if(DEFINED ENV{DUNKO_SOAK_SECONDS} AND "$ENV{DUNKO_SOAK_SECONDS}" MATCHES "^[0-9]+$")
  set(dunko_soak_seconds $ENV{DUNKO_SOAK_SECONDS})
endif()
math(EXPR dunko_soak_timeout "${dunko_soak_seconds} + 60")
set_tests_properties(soak_MainDialog.SoakWithRandomPostedInput PROPERTIES TIMEOUT ${dunko_soak_timeout})
]=])
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/soak_timeout.cmake)
