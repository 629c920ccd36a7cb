# What a release of the game holds, and the packages CPack makes of it:
#   Windows: honomikasa-<version>-win64.zip with honomikasa.exe (its icon,
#            version and manifest are its resources), DATA.QPA, the
#            players' read-me in English and Japanese and the fonts'
#            licence, in one folder;
#   Linux:   a .deb and a .tar.gz with a launcher (bin/honomikasa) that
#            starts the program (lib/honomikasa/) in the folder of its
#            archive (share/honomikasa/), since the game reads DATA.QPA from
#            its working directory; the menu entry and the icon in the
#            hicolor theme's sizes; the read-mes in share/doc/honomikasa/.
# The version is the project's, the one the title screen shows.
# `cpack --preset windows` / `--preset native` (scripts/package) make them,
# into dist/.
if(NOT TARGET honomikasa)
  return()
endif()
# The cross build packs the archive its native build made (data/).
set(archive ${VEXLO_DATA_ARCHIVE})
if(NOT archive)
  set(archive ${VEXLO_HOST_DATA_ARCHIVE})
endif()
# The install step (and so CPack) builds only what the packages hold, which
# scripts/package builds first, not every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# The game's files are the component "game"; the engine's package for
# other programs is "vexlo-dev" (cmake/VexloPackage.cmake), which the zip
# and the .tar.gz leave out and the Debian packages make a .deb of its own.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME game)

set(packaging ${VEXLO_ROOT}/packaging)
set(CPACK_PACKAGE_NAME honomikasa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vexlo")
set(CPACK_PACKAGE_CONTACT "Vexlo developers")
set(CPACK_STRIP_FILES ON)

# The players' read-mes, in English (README.txt) and Japanese
# (README-ja.txt), from packaging/README-<system>[-ja].txt with the version
# filled in, into the folder `texts`. On Windows they get Windows line ends
# for Notepad, and the Japanese one a UTF-8 byte-order mark, without which
# Notepad before Windows 10 reads it in the system's ANSI code page.
set(texts ${CMAKE_CURRENT_BINARY_DIR}/package-texts)
function(vexlo_player_readmes system)
  set(newlines UNIX)
  if(WIN32)
    set(newlines WIN32)
  endif()
  configure_file(${packaging}/README-${system}.txt ${texts}/README.txt @ONLY NEWLINE_STYLE ${newlines})
  # The mark goes in front before the version and the line ends, since
  # file(READ) drops carriage returns.
  set(japanese_source ${packaging}/README-${system}-ja.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${japanese_source})
  file(READ ${japanese_source} japanese)
  set(mark "")
  if(WIN32)
    string(ASCII 239 187 191 mark)
  endif()
  file(WRITE ${texts}/README-ja.in "${mark}${japanese}")
  configure_file(${texts}/README-ja.in ${texts}/README-ja.txt @ONLY NEWLINE_STYLE ${newlines})
endfunction()

if(WIN32)
  install(TARGETS honomikasa RUNTIME DESTINATION .)
  install(FILES ${archive} DESTINATION .)
  vexlo_player_readmes(windows)
  # A text for Notepad: Windows line ends.
  configure_file(${VEXLO_ROOT}/data/LICENSE-fonts ${texts}/LICENSE-fonts.txt @ONLY NEWLINE_STYLE WIN32)
  install(FILES ${texts}/README.txt ${texts}/README-ja.txt ${texts}/LICENSE-fonts.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME honomikasa-${PROJECT_VERSION}-win64)
else()
  install(PROGRAMS ${packaging}/honomikasa.sh DESTINATION bin RENAME honomikasa)
  install(TARGETS honomikasa RUNTIME DESTINATION lib/honomikasa)
  install(FILES ${archive} DESTINATION share/honomikasa)
  # The menu entry names the icon: the theme looks it up by name in every
  # size folder (cmake/GameIcon.cmake draws them).
  install(FILES ${packaging}/honomikasa.desktop DESTINATION share/applications)
  foreach(size IN LISTS VEXLO_ICON_SIZES)
    install(FILES ${VEXLO_ICON_DIR}/honomikasa-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME honomikasa.png)
  endforeach()
  vexlo_player_readmes(linux)
  install(FILES ${texts}/README.txt ${texts}/README-ja.txt DESTINATION share/doc/honomikasa)
  install(FILES ${VEXLO_ROOT}/data/LICENSE-fonts DESTINATION share/doc/honomikasa RENAME copyright)

  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_PACKAGE_FILE_NAME honomikasa-${PROJECT_VERSION}-linux-x86_64)
  # The .deb installs under /usr; the .tar.gz unpacks into one folder,
  # wherever the player puts it (both are CPack's defaults).
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  # Each package's description starts with its summary line.
  set(CPACK_DEBIAN_GAME_DESCRIPTION "arcade game: catch the falling balls of seven colours
Honomikasa: move with the arrow keys and catch the balls of seven
colours that fall from the top of the screen. Start it with the command honomikasa.")
  # The libraries it links (SDL2, libpng, libjpeg, zlib) as found by
  # dpkg-shlibdeps; the start-up question is drawn with the X server's core
  # fonts.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xfonts-base)

  # Two .debs: honomikasa_<version>_<arch>.deb (the game) and
  # vexlo-dev_<version>_<arch>.deb (the engine's libraries, header, CMake
  # package and qpa, under /usr), which needs the libraries' own
  # development packages for find_package(Vexlo).
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL game vexlo-dev)
  set(CPACK_DEBIAN_GAME_PACKAGE_NAME honomikasa)
  set(CPACK_DEBIAN_VEXLO-DEV_PACKAGE_NAME vexlo-dev)
  set(CPACK_DEBIAN_VEXLO-DEV_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_VEXLO-DEV_PACKAGE_DEPENDS "libsdl2-dev, libpng-dev, libjpeg-dev, zlib1g-dev")
  set(CPACK_DEBIAN_VEXLO-DEV_DESCRIPTION "Vexlo 2D game engine: libraries, header and CMake package
The engine under Honomikasa, for programs of one's own: find_package(Vexlo)
and link Vexlo::engine. Includes the archive tool qpa.")
endif()

include(CPack)
