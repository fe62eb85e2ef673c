# End-to-end tests: the real game under Wine on the virtual display, driven
# with real pointer and key input (xdotool) and read back from the screen
# (ImageMagick). They run only where the game runs under an emulator (Wine
# for the x86_64 build, its WoW64 mode for the i686 one), from the source
# tree so the game finds data\piko1.wav.
# Each owns the display and the pointer while it runs: no other test may
# open windows or move the pointer meanwhile, hence RUN_SERIAL.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()

set(DUNKO_E2E_DIR ${CMAKE_CURRENT_SOURCE_DIR}/e2e)

# The tests' CTest timeout, and a limit of their own 20 s shorter
# (DUNKO_E2E_LIMIT, which dunko_driver.run_checks keeps): a step still
# waiting when it runs out fails by its own name, and the test still has the
# time to clear its desktop and Wine away. Call it after the tests'
# ENVIRONMENT is set.
function(dunko_e2e_timeout seconds)
  math(EXPR limit "${seconds} - 20")
  set_tests_properties(${ARGN} PROPERTIES TIMEOUT ${seconds})
  foreach(test IN LISTS ARGN)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "DUNKO_E2E_LIMIT=${limit}")
  endforeach()
endfunction()

# The i686 build runs under Wine's WoW64 mode, which cannot draw with GDI:
# its game is checked by its windows alone, never by pixels: the window and
# its title, the client size (its height only where gdi_probe says GDI
# draws), the question on Escape during a game, the About box from the system
# menu, and the exit with code 0.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME e2e_windows
    COMMAND python3 ${DUNKO_E2E_DIR}/test_windows.py $<TARGET_FILE:Dunko> $<TARGET_FILE:gdi_probe>)
  # The product's own installer (cpack -G NSIS) run silently in this
  # tree's prefix: files, shortcut, uninstall entry, the game's window as
  # the shortcut starts it, and the silent uninstall leaving nothing.
  add_test(NAME e2e_installer_windows
    COMMAND python3 ${DUNKO_E2E_DIR}/test_installer.py ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} --by-window)
  set_tests_properties(e2e_windows e2e_installer_windows PROPERTIES
    RUN_SERIAL TRUE
    LABELS e2e
    ENVIRONMENT "PYTHONDONTWRITEBYTECODE=1;PYTHONUNBUFFERED=1")
  dunko_e2e_timeout(90 e2e_windows e2e_installer_windows)
  return()
endif()

# One game played through: title, start, banner, the abort question with
# Cancel and OK, the About box from the system menu, the exit area.
add_test(NAME e2e_play
  COMMAND python3 ${DUNKO_E2E_DIR}/test_play.py $<TARGET_FILE:Dunko>)

# The game at 150 % (144 dpi) in a prefix of its own: the client area, the
# status strip and the moles scaled, and the moles hit where they are drawn.
add_test(NAME e2e_scaled
  COMMAND python3 ${DUNKO_E2E_DIR}/test_scaled.py $<TARGET_FILE:Dunko>)

# Japanese glyphs (not missing-glyph boxes) in the question, the system
# menu, the About box and the title, with the game in a locale without
# Japanese.
add_test(NAME e2e_glyphs
  COMMAND python3 ${DUNKO_E2E_DIR}/test_glyphs.py $<TARGET_FILE:Dunko>)

# The game started by scripts/play.sh on a desktop of the test's own (an X
# display with openbox, a PulseAudio server with a null sink): a managed
# window, keys through the window manager, a piko heard for every hit, and,
# with the sound server frozen, hits that still count and an Enter that
# still ends the program.
add_test(NAME e2e_desktop
  COMMAND python3 ${DUNKO_E2E_DIR}/test_desktop.py $<TARGET_FILE:Dunko>)

# The game played from a folder named Müller in a Japanese locale (code
# page 932, without ü), on a desktop of its own with a sound server, as
# e2e_desktop has: each hit is heard. The locale is the build tree's own
# (board_tests.cmake), so Wine can name that folder.
add_test(NAME e2e_sound_folder
  COMMAND python3 ${DUNKO_E2E_DIR}/test_sound_folder.py $<TARGET_FILE:Dunko>)

# The Windows installer of this tree (cpack -G NSIS) run silently in the
# play prefix: its files, its Start-menu shortcut and its entry in the list
# of programs; the game as the shortcut starts it, on a desktop of the
# test's own, with every hit heard; the silent uninstall, which leaves
# nothing behind.
add_test(NAME e2e_installer
  COMMAND python3 ${DUNKO_E2E_DIR}/test_installer.py ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})

# The Debian package of this tree (cpack -G DEB), checked with lintian,
# unpacked with dpkg-deb -x and started through its launcher on a desktop
# of the test's own: a managed window, the title view, every hit heard, the
# prefix below XDG_DATA_HOME (the play prefix, linked in), never ~/.wine.
add_test(NAME e2e_deb
  COMMAND python3 ${DUNKO_E2E_DIR}/test_deb.py ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})

# The Debian package's launcher with stand-ins for Wine's commands: what
# the first start says and makes, what a later one does, where the prefix
# is and the folder the game starts in. Quick, and needs no display.
add_test(NAME package_launcher
  COMMAND python3 ${DUNKO_E2E_DIR}/test_launcher.py ${CMAKE_BINARY_DIR})
set_tests_properties(package_launcher PROPERTIES TIMEOUT 60 LABELS package
  ENVIRONMENT "PYTHONDONTWRITEBYTECODE=1;PYTHONUNBUFFERED=1")

# The play prefix (scripts/play.sh's), made or brought up to date once
# before the tests that play in it (some 15 s on two cores when it is made),
# so that none of them waits for it.
add_test(NAME play_prefix COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${CMAKE_BINARY_DIR} play)
set_tests_properties(play_prefix PROPERTIES FIXTURES_SETUP play_prefix TIMEOUT 90 LABELS e2e)
set_tests_properties(e2e_desktop e2e_sound_folder e2e_installer e2e_deb PROPERTIES FIXTURES_REQUIRED play_prefix)
# The same for the prefix at 144 dpi of e2e_scaled.
add_test(NAME scaled_prefix COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${CMAKE_BINARY_DIR} scaled)
set_tests_properties(scaled_prefix PROPERTIES FIXTURES_SETUP scaled_prefix TIMEOUT 90 LABELS e2e)
set_tests_properties(e2e_scaled PROPERTIES FIXTURES_REQUIRED scaled_prefix)

set_tests_properties(e2e_play e2e_glyphs e2e_scaled e2e_desktop e2e_sound_folder PROPERTIES RUN_SERIAL TRUE)
# The package tests bring their own display, pointer and sound server and
# touch nothing of the tests' display, so they run beside other tests; the
# play prefix they share with each other, one at a time.
set_tests_properties(e2e_play e2e_glyphs e2e_scaled e2e_desktop e2e_sound_folder e2e_installer e2e_deb PROPERTIES
  LABELS e2e
  ENVIRONMENT "PYTHONDONTWRITEBYTECODE=1;PYTHONUNBUFFERED=1")
set_tests_properties(e2e_desktop e2e_sound_folder e2e_installer e2e_deb PROPERTIES RESOURCE_LOCK play_prefix)
set_property(TEST e2e_sound_folder APPEND PROPERTY ENVIRONMENT "LOCPATH=${DUNKO_LOCPATH}")
dunko_e2e_timeout(90 e2e_play e2e_glyphs e2e_scaled e2e_installer e2e_deb)
dunko_e2e_timeout(120 e2e_desktop)
dunko_e2e_timeout(60 e2e_sound_folder)
