# Compile settings shared by every target of the project. C++17: the C++20
# <chrono> holds a literal (the micro sign) that code page 932 cannot encode.
#
# Sources are UTF-8; every narrow literal is compiled to code page 932, so the
# engine's Japanese messages and the game's half-width katakana come out byte
# for byte as the engine writes and draws them.

get_filename_component(VEXLO_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

add_library(vexlo_flags INTERFACE)
target_include_directories(vexlo_flags INTERFACE ${VEXLO_ROOT})
target_compile_options(vexlo_flags INTERFACE
  -finput-charset=UTF-8 -fexec-charset=CP932
  -Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers)
if(WIN32)
  # The executable carries its C and C++ run-time: no DLL beside it.
  target_link_options(vexlo_flags INTERFACE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(vexlo_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

option(VEXLO_WERROR "Treat warnings as errors" OFF)
if(VEXLO_WERROR)
  target_compile_options(vexlo_flags INTERFACE -Werror)
endif()

option(VEXLO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VEXLO_SANITIZE)
  target_compile_options(vexlo_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(vexlo_flags INTERFACE -fsanitize=address,undefined)
endif()

# vexlo_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered
# as one ctest test. Under the Windows build each executable is one Wine
# process, so cases are not registered one by one.
function(vexlo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE vexlo_flags ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
