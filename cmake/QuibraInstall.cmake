# What `cmake --install` puts in place on Linux (and what the Debian package holds): the public
# headers, libquibra.so with its SONAME, the quibra and quibra-sim programs, a pkg-config file, a
# CMake package (find_package(quibra) -> quibra::quibra) and the udev rule of the USB infrared
# adapter.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# One version for everything: the project's. libquibra.so.1.72 carries the SONAME
# libquibra.so.1: the major number changes only when the ABI breaks, which it does not while the
# exports keep their signatures.
set_target_properties(quibra PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(quibra INTERFACE
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

# The programs find the library beside them wherever the tree is installed.
set_target_properties(quibra_cli quibra-sim PROPERTIES
  INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

install(TARGETS quibra EXPORT quibraTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/include/quibra/quibra.h
              ${PROJECT_SOURCE_DIR}/include/quibra/records.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quibra COMPONENT development)
install(TARGETS quibra_cli quibra-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  COMPONENT runtime)

# quibra.pc is written when it is installed, so that its prefix is the one the files went to
# (a --prefix given to cmake --install, or the package's /usr) rather than the configured one.
set(pc_template ${PROJECT_SOURCE_DIR}/packaging/quibra.pc.in)
set(pc_file ${PROJECT_BINARY_DIR}/packaging/quibra.pc)
install(CODE "
  set(QUIBRA_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  configure_file(\"${pc_template}\" \"${pc_file}\" @ONLY)"
  COMPONENT development)
install(FILES ${pc_file} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

set(cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/quibra)
install(EXPORT quibraTargets NAMESPACE quibra:: DESTINATION ${cmake_dir} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/packaging/quibraConfig.cmake.in
  ${PROJECT_BINARY_DIR}/packaging/quibraConfig.cmake INSTALL_DESTINATION ${cmake_dir})
# 1.x stays link-compatible with 1.y: the SONAME's rule.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/packaging/quibraConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/packaging/quibraConfig.cmake
              ${PROJECT_BINARY_DIR}/packaging/quibraConfigVersion.cmake
  DESTINATION ${cmake_dir} COMPONENT development)

# udev reads /usr/lib/udev/rules.d (the package's place) and /etc/udev/rules.d; an install under
# another prefix puts the rule below it, to be copied to /etc/udev/rules.d by hand.
set(QUIBRA_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "where the USB infrared adapter's udev rule is installed (relative to the prefix)")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-quibra-usb-ir.rules
  DESTINATION ${QUIBRA_UDEV_RULES_DIR} COMPONENT runtime)
