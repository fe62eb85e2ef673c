# Installation and the packages for players, made with CPack from the build
# tree (scripts/package.sh):
# - ZIP and NSIS, for Windows users: one folder with Dunko.exe, data/piko1.wav
#   beside it, the players' text (dist/ReadMe.txt.in, filled in; the README
#   is for developers and stays in the repository), the licence as
#   LICENSE.txt and THIRD-PARTY-NOTICES.txt (CMakeLists.txt makes the
#   three). The game looks for its hit sound as data\piko1.wav below the
#   current directory, so it is started from its own folder; the
#   installer's Start-menu shortcut does that.
#   The executable is linked statically and imports system DLLs only, so the
#   folder runs as it is. The test and benchmark programs stay in the build
#   tree.
# - DEB, for Linux players (x86_64 tree only): the game under Wine, from the
#   install rules of the component "debian", which a plain install leaves out.
# cmake/CPackOptions.cmake.in sets what differs between the generators.
install(TARGETS Dunko RUNTIME DESTINATION .)
install(FILES data/piko1.wav DESTINATION data)
install(FILES ${CMAKE_BINARY_DIR}/dist/ReadMe.txt ${CMAKE_BINARY_DIR}/dist/LICENSE.txt
  ${CMAKE_BINARY_DIR}/dist/THIRD-PARTY-NOTICES.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  include(cmake/DebianFiles.cmake)
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CPACK_SYSTEM_NAME win32)
  set(CPACK_DUNKO_NSIS_TARGET x86-unicode)
else()
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_DUNKO_NSIS_TARGET amd64-unicode)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Dunko)
set(CPACK_PACKAGE_VENDOR "Dunko Project")
set(CPACK_PACKAGE_CONTACT "Dunko Project <maintainers@users.noreply.c-seed-b744b96e.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Dunko叩き, a whack-a-mole game for Windows")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Dunko-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
# The ZIP unpacks into one folder named like the file.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_SOURCE_GENERATOR "")

# The installer comes from a script of our own (cmake/nsis/NSIS.template.in):
# a per-user install, in Japanese, without components.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/cmake/nsis)
set(CPACK_DUNKO_ICON ${CMAKE_CURRENT_SOURCE_DIR}/src/res/dunko.ico)
set(CPACK_DUNKO_NAME "Dunko叩き")
set(CPACK_DUNKO_COPYRIGHT "${DUNKO_COPYRIGHT}")

configure_file(cmake/CPackOptions.cmake.in ${CMAKE_BINARY_DIR}/CPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackOptions.cmake)
include(CPack)
