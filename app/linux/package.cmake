# The Debian package of everything `cmake --install` puts in place, under /usr:
#   cpack -G DEB   writes qdax-serial-loader_<version>_amd64.deb
# Its dependencies are what dpkg-shlibdeps reads off the binaries.
set(CPACK_PACKAGE_NAME qdax-serial-loader)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT
    "Q-Dax Serial Loader maintainers <maintainers@users.noreply.c-seed-c8aaaf6c.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send commands and command files to a serial device")
set(CPACK_PACKAGE_DESCRIPTION
    "Q-Dax Serial Loader drives a device on a serial port: commands typed one at a
time, or a text file of commands played line by line, each further line only
after the device has answered and a set delay has passed. Every line sent and
received lands in a communications log that can be saved.

The package holds the window program, qdax-play, which plays a command file
from a command line, and qdax-sim, a simulated device for trying both without
hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

qdax_compressed_doc(${CMAKE_CURRENT_LIST_DIR}/changelog.in changelog)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
include(CPack)
