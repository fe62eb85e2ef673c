# The Debian package's files (component "debian", left out of a plain
# install): the game and its sound where Debian's policy puts them, the
# launcher, the desktop entry, the icons, the AppStream metainfo, the manual
# page and the package's documents. The generated ones (icons, compressed
# pages, the Wine settings) are made by the target deb_files, part of the
# tree's build, so cpack -G DEB finds them.
#
# /usr/lib/games/dunko/       Dunko.exe (x86_64 only, so in lib) and data, a
#                             link to the sound in share: the game is started
#                             in this folder and finds data\piko1.wav below it
# /usr/share/games/dunko/     data/piko1.wav and the Wine settings for play
# /usr/games/dunko            the launcher (dist/linux/dunko)
set(deb_src ${CMAKE_CURRENT_SOURCE_DIR}/dist/linux)
set(deb_out ${CMAKE_BINARY_DIR}/deb)
file(MAKE_DIRECTORY ${deb_out})
find_program(DUNKO_MAGICK convert)
find_program(DUNKO_GZIP gzip)
if(NOT DUNKO_MAGICK OR NOT DUNKO_GZIP)
  # scripts/install-deps.sh installs both; without them the game still builds.
  message(WARNING "No ImageMagick (convert) or gzip: the Debian package cannot be made")
  return()
endif()

# The icon theme's sizes from the two images of the game's icon, each an
# exact multiple of one of them so the pixels stay sharp (size:image:times).
# PNGs without time stamps, so the package comes out the same each time.
set(deb_icons)
foreach(icon 16:1:1 32:0:1 48:1:3 64:0:2 128:0:4 256:0:8)
  string(REPLACE ":" ";" icon ${icon})
  list(GET icon 0 size)
  list(GET icon 1 frame)
  list(GET icon 2 scale)
  math(EXPR percent "${scale} * 100")
  set(png ${deb_out}/icons/${size}x${size}/apps/dunko.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${deb_out}/icons/${size}x${size}/apps
    COMMAND ${DUNKO_MAGICK} "${CMAKE_CURRENT_SOURCE_DIR}/src/res/dunko.ico[${frame}]" -filter point
            -resize ${percent}% -strip -define png:exclude-chunks=date,time PNG32:${png}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/res/dunko.ico
    VERBATIM)
  list(APPEND deb_icons ${png})
  install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps
    COMPONENT debian EXCLUDE_FROM_ALL)
endforeach()

# What scripts/wine-prefix.sh sets for play, as the one text it applies (the
# settings of every prefix, then those of play without their header line),
# so the launcher's stamp of a prefix matches that script's.
set(deb_settings ${deb_out}/wine-settings.reg)
add_custom_command(OUTPUT ${deb_settings}
  COMMAND sh -c "settings=$(cat \"$1\"; echo; sed 1d \"$2\"); printf '%s\\n' \"$settings\" > \"$3\""
          sh ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-settings.reg.txt
          ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-settings-play.reg.txt ${deb_settings}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-settings.reg.txt
          ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-settings-play.reg.txt
  VERBATIM)

# The texts that name the version; the manual page and the changelog are
# compressed without a time stamp. The AppStream file is named after its
# id (see the comment in it).
set(DUNKO_APPSTREAM_ID example.c_seed_b744b96e.dunko)
# The changelog's date of the release day, as Debian writes it (RFC 5322,
# in English whatever the locale: "Wed, 09 Dec 2026 12:00:00 +0000").
execute_process(COMMAND date -u -R -d "${DUNKO_RELEASE_DATE} 12:00:00 UTC"
  OUTPUT_VARIABLE DUNKO_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(deb_metainfo ${deb_out}/${DUNKO_APPSTREAM_ID}.metainfo.xml)
configure_file(${deb_src}/changelog.in ${deb_out}/changelog @ONLY)
configure_file(${deb_src}/dunko.6.in ${deb_out}/dunko.6 @ONLY)
configure_file(${deb_src}/dunko.metainfo.xml.in ${deb_metainfo} @ONLY)
set(deb_man ${deb_out}/dunko.6.gz)
set(deb_changelog ${deb_out}/changelog.gz)
add_custom_command(OUTPUT ${deb_man}
  COMMAND sh -c "${DUNKO_GZIP} -9nc \"$1\" > \"$2\"" sh ${deb_out}/dunko.6 ${deb_man}
  DEPENDS ${deb_out}/dunko.6 VERBATIM)
add_custom_command(OUTPUT ${deb_changelog}
  COMMAND sh -c "${DUNKO_GZIP} -9nc \"$1\" > \"$2\"" sh ${deb_out}/changelog ${deb_changelog}
  DEPENDS ${deb_out}/changelog VERBATIM)

# The link that puts the sound below the game's folder.
set(deb_link ${deb_out}/data)
add_custom_command(OUTPUT ${deb_link}
  COMMAND ${CMAKE_COMMAND} -E create_symlink ../../../share/games/dunko/data ${deb_link}
  VERBATIM)

add_custom_target(deb_files ALL DEPENDS ${deb_icons} ${deb_settings} ${deb_man} ${deb_changelog} ${deb_link})

set(deb_file_mode OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(TARGETS Dunko RUNTIME DESTINATION lib/games/dunko PERMISSIONS ${deb_file_mode}
  COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_link} DESTINATION lib/games/dunko COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES data/piko1.wav DESTINATION share/games/dunko/data COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_settings} DESTINATION share/games/dunko COMPONENT debian EXCLUDE_FROM_ALL)
install(PROGRAMS ${deb_src}/dunko DESTINATION games COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_src}/dunko.desktop DESTINATION share/applications COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_metainfo} DESTINATION share/metainfo COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_man} DESTINATION share/man/man6 COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_src}/copyright ${deb_changelog} DESTINATION share/doc/dunko
  COMPONENT debian EXCLUDE_FROM_ALL)

# What distributions check in these files, in the test command: the
# AppStream file and the desktop entry with no error and no warning
# (appstreamcli validate fails on either; desktop-file-validate fails on
# errors alone, so anything it says fails the test). lintian checks the
# package itself in e2e_deb.
if(DUNKO_BUILD_TESTS)
  add_test(NAME package_metainfo COMMAND appstreamcli validate --no-net ${deb_metainfo})
  add_test(NAME package_desktop_entry COMMAND sh -c
    "said=$(desktop-file-validate \"$1\" 2>&1) && [ -z \"$said\" ] || { echo \"$said\"; exit 1; }"
    sh ${deb_src}/dunko.desktop)
  # The version and the release date as every text filled from them states
  # them (tests/package/release_texts.py).
  add_test(NAME package_release_texts COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/package/release_texts.py
    ${PROJECT_VERSION} ${DUNKO_RELEASE_DATE} $<TARGET_FILE:Dunko> ${CMAKE_BINARY_DIR}/dist/ReadMe.txt
    ${deb_out}/changelog ${deb_out}/dunko.6 ${deb_metainfo})
  set_tests_properties(package_metainfo package_desktop_entry package_release_texts PROPERTIES
    LABELS package TIMEOUT 30)
endif()
