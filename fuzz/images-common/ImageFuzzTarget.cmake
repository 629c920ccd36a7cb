# Shared by the fuzz/images-*/ folders: one libFuzzer target per image
# decoder (and one for DecodeImage), seeded with the decoder fixtures.
#
# libFuzzer needs clang, which has no -fexec-charset for code page 932: in
# the fuzz build narrow literals stay UTF-8 (only log texts change), and the
# whole engine is built with coverage, address and undefined-behaviour
# instrumentation so that the decoders' calls into the stream layer and the
# allocator are checked as well.
get_property(instrumented GLOBAL PROPERTY VEXLO_FUZZ_INSTRUMENTED)
if(NOT instrumented)
  set_property(GLOBAL PROPERTY VEXLO_FUZZ_INSTRUMENTED ON)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    get_target_property(options vexlo_flags INTERFACE_COMPILE_OPTIONS)
    list(REMOVE_ITEM options -fexec-charset=CP932)
    set_target_properties(vexlo_flags PROPERTIES INTERFACE_COMPILE_OPTIONS "${options}")
  endif()
  target_compile_options(vexlo_flags INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(vexlo_flags INTERFACE -fsanitize=address,undefined)
endif()

set(VEXLO_IMAGE_FUZZ_COMMON ${CMAKE_CURRENT_LIST_DIR})

# vexlo_image_fuzz_target(NAME DECODER_FUNCTION): NAME runs DECODER_FUNCTION
# (or DecodeImage) on every input.
function(vexlo_image_fuzz_target name decoder)
  add_executable(${name} ${VEXLO_IMAGE_FUZZ_COMMON}/DecoderFuzzer.cpp)
  target_compile_definitions(${name} PRIVATE FUZZ_DECODER=${decoder})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  vexlo_link_engine(${name} vexlo_platform_headless)
endfunction()
