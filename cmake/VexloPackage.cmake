# The engine as a package for other programs: `cmake --install BUILD
# --component vexlo-dev --prefix PREFIX` installs
#
#   include/vexlo/Engine.h          the engine's interface, all a program includes
#   lib/.../libvexlo_*.a            the engine's libraries, the platform adapters
#                                   (this system's and the headless one) and the
#                                   headless run
#   lib/.../cmake/Vexlo/            the CMake package (VexloConfig.cmake)
#   bin/qpa                         the archive tool of the build machine
#
# and the native build's .deb `vexlo-dev` holds the same (cmake/Packaging.cmake).
# The rules are left out of a plain install, so that the game's packages
# stay as they are.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(component COMPONENT vexlo-dev EXCLUDE_FROM_ALL)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Vexlo)

string(REPLACE "," ";" exported "${VEXLO_ENGINE_GROUP}")
set(VEXLO_EXPORTED_GROUP)
foreach(library IN LISTS exported)
  string(REGEX REPLACE "^vexlo_" "" name ${library})
  list(APPEND VEXLO_EXPORTED_GROUP Vexlo::${name})
endforeach()
list(JOIN VEXLO_EXPORTED_GROUP "," VEXLO_EXPORTED_GROUP)
# The headless platform fails its scripted calls through the fault points.
list(APPEND exported vexlo_platform_host ${VEXLO_NATIVE_ADAPTER} vexlo_platform_headless vexlo_fault_points
     vexlo_headless_run)
string(REGEX REPLACE "^vexlo_" "" VEXLO_NATIVE_ADAPTER_EXPORT ${VEXLO_NATIVE_ADAPTER})
foreach(library IN LISTS exported)
  string(REGEX REPLACE "^vexlo_" "" name ${library})
  set_target_properties(${library} PROPERTIES EXPORT_NAME ${name})
endforeach()

install(TARGETS ${exported} EXPORT VexloTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} ${component})
install(EXPORT VexloTargets NAMESPACE Vexlo:: DESTINATION ${config_dir} ${component})
install(FILES ${VEXLO_ROOT}/engine/core/Engine.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vexlo
  ${component})

configure_package_config_file(${VEXLO_ROOT}/cmake/VexloConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/VexloConfig.cmake
  INSTALL_DESTINATION ${config_dir}
  NO_SET_AND_CHECK_MACRO)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VexloConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/VexloConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/VexloConfigVersion.cmake
  DESTINATION ${config_dir} ${component})

# qpa runs where the program is built: the native build's own, or for a
# cross build the native build's (when it exists; examples/CMakeLists.txt).
if(TARGET qpa)
  install(TARGETS qpa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} ${component})
elseif(VEXLO_HOST_QPA)
  install(PROGRAMS ${VEXLO_HOST_QPA} DESTINATION ${CMAKE_INSTALL_BINDIR} OPTIONAL ${component})
endif()

# Everything the component holds, to build before installing it (the
# install step builds nothing itself: cmake/Packaging.cmake).
add_custom_target(vexlo_dev)
add_dependencies(vexlo_dev ${exported})
if(TARGET qpa)
  add_dependencies(vexlo_dev qpa)
endif()
