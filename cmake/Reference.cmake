# The reference: `cmake --build --preset native --target reference` writes
# the HTML reference of <vexlo/Engine.h> into build/native/reference/html
# with Doxygen (Debian's package, installed by scripts/bootstrap). A
# warning (an operation, argument or field left undocumented) fails it;
# tests/reference checks that it builds clean and that the check bites.
# The header is the same on every platform: only a native build makes it.
if(CMAKE_CROSSCOMPILING)
  return()
endif()
find_program(VEXLO_DOXYGEN doxygen)
if(NOT VEXLO_DOXYGEN)
  message(STATUS "doxygen not found: no reference target (scripts/bootstrap installs it)")
  return()
endif()

# vexlo_reference_doxyfile(OUT HEADER OUTPUT): a Doxyfile for HEADER (named
# vexlo/Engine.h in the pages) that writes into OUTPUT.
function(vexlo_reference_doxyfile doxyfile header output)
  set(REFERENCE_HEADER ${header})
  get_filename_component(folder ${header} DIRECTORY)
  get_filename_component(REFERENCE_STRIP ${folder} DIRECTORY)
  set(REFERENCE_MAINPAGE ${VEXLO_ROOT}/docs/reference/mainpage.md)
  set(REFERENCE_OUTPUT ${output})
  configure_file(${VEXLO_ROOT}/docs/reference/Doxyfile.in ${doxyfile} @ONLY)
endfunction()

set(VEXLO_REFERENCE_DOXYFILE ${CMAKE_BINARY_DIR}/reference/Doxyfile)
vexlo_reference_doxyfile(${VEXLO_REFERENCE_DOXYFILE} ${CMAKE_BINARY_DIR}/include/vexlo/Engine.h
                         ${CMAKE_BINARY_DIR}/reference)
add_custom_target(reference
  COMMAND ${VEXLO_DOXYGEN} ${VEXLO_REFERENCE_DOXYFILE}
  COMMAND ${CMAKE_COMMAND} -E echo "reference: ${CMAKE_BINARY_DIR}/reference/html/index.html"
  DEPENDS ${CMAKE_BINARY_DIR}/include/vexlo/Engine.h ${VEXLO_ROOT}/docs/reference/mainpage.md
  COMMENT "Generating the reference of <vexlo/Engine.h>"
  VERBATIM)
