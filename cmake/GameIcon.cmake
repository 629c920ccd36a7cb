# The game's icon, drawn at build time by tools/sheetgen from the actor
# sheet's drawing of the player (the same bytes every time):
#   ${VEXLO_ICON_DIR}/honomikasa.ico          16, 32, 48 and 256 pixels, the
#                                             Windows program's icon group;
#   ${VEXLO_ICON_DIR}/honomikasa-SIZE.png     one per ${VEXLO_ICON_SIZES},
#                                             for Linux's hicolor theme.
# sheetgen runs on the build host: a cross build makes its own copy with the
# host's compiler, as a project of its own.
include(ExternalProject)

set(VEXLO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
# The hicolor sizes sheetgen draws (THEME_ICON_SIZES in tools/sheetgen/Icon.h).
set(VEXLO_ICON_SIZES 16 32 48 64 128 256)
set(VEXLO_ICON_FILE ${VEXLO_ICON_DIR}/honomikasa.ico)

if(CMAKE_CROSSCOMPILING)
  set(host_build ${CMAKE_BINARY_DIR}/host-sheetgen)
  set(sheetgen_program ${host_build}/sheetgen)
  # BUILD_ALWAYS: a changed drawing is built again (a quick no-op otherwise),
  # and the icon follows the program it makes. One compile at a time, as
  # the outer build runs beside it.
  ExternalProject_Add(host_sheetgen
    SOURCE_DIR ${VEXLO_ROOT}/tools/sheetgen
    BINARY_DIR ${host_build}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_build} --parallel 1
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${sheetgen_program})
  set(sheetgen_dependencies host_sheetgen ${sheetgen_program})
else()
  set(sheetgen_program $<TARGET_FILE:sheetgen>)
  set(sheetgen_dependencies sheetgen)
endif()

set(icon_files ${VEXLO_ICON_FILE})
foreach(size IN LISTS VEXLO_ICON_SIZES)
  list(APPEND icon_files ${VEXLO_ICON_DIR}/honomikasa-${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VEXLO_ICON_DIR}
  COMMAND ${sheetgen_program} --icons ${VEXLO_ICON_DIR}
  DEPENDS ${sheetgen_dependencies}
  COMMENT "Drawing the game's icon"
  VERBATIM)
add_custom_target(game_icon ALL DEPENDS ${icon_files})
