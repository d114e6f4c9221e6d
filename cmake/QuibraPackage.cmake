# The Debian package (cpack -G DEB, from a built tree): everything cmake --install puts in place,
# under /usr.
set(CPACK_PACKAGE_NAME quibra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "communication library for heart-rate-monitor wrist units")
set(CPACK_PACKAGE_DESCRIPTION
    "libquibra.so talks to heart-rate-monitor wrist units over infrared adapters, IrDA, a
wireless link and sound, downloads and decodes their exercises and reads and changes their
settings. The package holds the library and its headers, the quibra command-line tool, the
quibra-sim unit simulator, a pkg-config file, a CMake package and a udev rule for the USB
infrared adapter.")
set(CPACK_PACKAGE_CONTACT "quibra maintainers <quibra@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# The C and C++ runtimes and libpng (the quibra tool's logos) come from the binaries' needs. The
# library loads libusb (the USB adapter without its driver) and ALSA (sound in and out) at run
# time and works without them, so they are recommended rather than required.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libusb-1.0-0, libasound2")
# The package's own libquibra.so.1 satisfies the programs' need of it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
include(CPack)
