# example_font(PROGRAM OUTPUT): makes the font sheet (make_font.cpp) at
# OUTPUT at build time and adds it to the sources PROGRAM depends on. A
# cross build runs the generator through its emulator (Wine).
function(example_font program output)
  set(generator ${program}_font_sheet)
  add_executable(${generator} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/make_font.cpp)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${generator} ${output}
    DEPENDS ${generator}
    COMMENT "Drawing the font sheet of ${program}"
    VERBATIM)
endfunction()
