# Drawing, the mole, the board and its random placement, checked in memory
# bitmaps under Wine.
dunko_test(board_tests
  PainterTest.cpp
  OffscreenCanvasTest.cpp
  SpriteTest.cpp
  MoleTest.cpp
  BoardTest.cpp
  BoardConcurrencyTest.cpp
  RandomTest.cpp
  GAME_RESOURCES)

# Japanese text must paint the same in any ANSI code page. Wine takes the
# code page from the Unix locale: LC_ALL=ja_JP.UTF-8 gives 932 and
# en_US.UTF-8 gives 1252, even when those locales are not generated (Wine
# then reads the name from LC_ALL itself; LANG alone would need them). The
# program runs once per code page and checks it got the one it expects.
# The locales are made for the build tree (LOCPATH) when the machine has
# not generated them: without, Wine names Unix files in ASCII and cannot
# make a file whose name has a ü, which the hit-sound case needs.
find_program(DUNKO_LOCALEDEF localedef)
set(DUNKO_LOCPATH ${CMAKE_BINARY_DIR}/locale)
file(MAKE_DIRECTORY ${DUNKO_LOCPATH})
add_executable(board_text_locale_tests TextLocaleTest.cpp)
target_link_libraries(board_text_locale_tests PRIVATE dunko_test_main)
foreach(variant "932;ja_JP;UTF-8" "1252;en_US;UTF-8")
  list(GET variant 0 codepage)
  list(GET variant 1 language)
  list(GET variant 2 charset)
  set(locale ${language}.${charset})
  if(DUNKO_LOCALEDEF AND NOT EXISTS ${DUNKO_LOCPATH}/${locale})
    execute_process(COMMAND ${DUNKO_LOCALEDEF} -i ${language} -f ${charset} ${DUNKO_LOCPATH}/${locale}
                    OUTPUT_QUIET ERROR_QUIET)
  endif()
  add_test(NAME board_text_acp${codepage} COMMAND board_text_locale_tests)
  set_tests_properties(board_text_acp${codepage} PROPERTIES
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    TIMEOUT 120
    ENVIRONMENT "LC_ALL=${locale};LOCPATH=${DUNKO_LOCPATH};DUNKO_EXPECT_ACP=${codepage}")
endforeach()
