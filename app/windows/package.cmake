# The Windows packages: the program and qdax-play beside it, with exactly the DLLs and plugins they
# load and the licences, in a folder of its own and zipped as
# qdax-serial-loader-<version>-win64.zip in the build directory; and, where wixl is, the same files
# as an installer, qdax-serial-loader-<version>-x64.msi, beside it.
set(QDAX_PACKAGE_NAME qdax-serial-loader-${PROJECT_VERSION}-win64)
set(QDAX_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${QDAX_PACKAGE_NAME}.zip)
set(QDAX_PACKAGE_PROGRAMS $<TARGET_FILE:qdax-serial-loader> $<TARGET_FILE:qdax-play>)
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})

# Qt for MinGW comes from scripts/build-qt-mingw, built from the source in Debian's source package
# of the host's Qt: the notices name that package.
set(notices ${CMAKE_CURRENT_LIST_DIR}/notices)
execute_process(COMMAND dpkg-query -W -f=\${Version} qt6-base-dev
                OUTPUT_VARIABLE qt_debian_version ERROR_QUIET)
set(QDAX_QT_VERSION ${Qt6_VERSION})
if(qt_debian_version MATCHES "^${Qt6_VERSION}[+~]")
    string(REGEX REPLACE "-[^-]*$" "" qt_upstream ${qt_debian_version})
    string(REPLACE "+" "%2B" qt_snapshot ${qt_debian_version})
    string(CONCAT QDAX_QT_ORIGIN
        "They were built by scripts/build-qt-mingw, part of the source of Q-Dax Serial Loader,\n"
        "which names every option they were built with, from the source in Debian's qt6-base\n"
        "source package, version ${qt_debian_version} (its qt6-base_${qt_upstream}.orig.tar.xz,\n"
        "without Debian's patches), with Debian's MinGW-w64 cross compilers. That source package\n"
        "is kept at https://snapshot.debian.org/package/qt6-base/${qt_snapshot}/")
else()
    string(CONCAT QDAX_QT_ORIGIN
        "Their source is Qt ${Qt6_VERSION}'s: https://download.qt.io/archive/qt/")
endif()
# Everything but the list of Qt's files, which deploy.cmake fills in.
set(QDAX_QT_FILES @QDAX_QT_FILES@)
configure_file(${notices}/THIRD-PARTY-NOTICES.txt.in ${CMAKE_CURRENT_BINARY_DIR}/notices.txt.in
               @ONLY)
file(GLOB licences ${notices}/licenses/*)

add_custom_command(
    OUTPUT ${QDAX_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND}
            -D "PROGRAMS=${QDAX_PACKAGE_PROGRAMS}"
            -D "PLUGINS=${qt_plugins}/platforms/qwindows.dll;${qt_plugins}/styles/qwindowsvistastyle.dll"
            -D DLL_DIR=${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}
            -D LICENSE=${PROJECT_SOURCE_DIR}/LICENSE
            -D LICENSES_DIR=${notices}/licenses
            -D NOTICES=${CMAKE_CURRENT_BINARY_DIR}/notices.txt.in
            -D OBJDUMP=${CMAKE_OBJDUMP}
            -D STRIP=${CMAKE_STRIP}
            -D FOLDER=${CMAKE_BINARY_DIR}/package/${QDAX_PACKAGE_NAME}
            -D ZIP=${QDAX_PACKAGE_ZIP}
            -P ${CMAKE_CURRENT_LIST_DIR}/deploy.cmake
    DEPENDS qdax-serial-loader qdax-play ${CMAKE_CURRENT_LIST_DIR}/deploy.cmake
            ${PROJECT_SOURCE_DIR}/LICENSE ${licences} ${CMAKE_CURRENT_BINARY_DIR}/notices.txt.in
    COMMENT "Packing ${QDAX_PACKAGE_NAME}.zip"
    VERBATIM)
add_custom_target(windows_package ALL DEPENDS ${QDAX_PACKAGE_ZIP})

find_program(QDAX_WIXL wixl)
if(NOT QDAX_WIXL)
    message(STATUS "No wixl (Debian's package wixl): the Windows build makes no installer")
    return()
endif()
set(QDAX_PACKAGE_MSI ${CMAKE_BINARY_DIR}/qdax-serial-loader-${PROJECT_VERSION}-x64.msi)
# The installer's filled-in source, from which the tests build packages of other versions.
set(QDAX_PACKAGE_MSI_SOURCE ${CMAKE_BINARY_DIR}/package/msi/installer.wxs)
add_custom_command(
    OUTPUT ${QDAX_PACKAGE_MSI} ${QDAX_PACKAGE_MSI_SOURCE}
    COMMAND ${CMAKE_COMMAND}
            -D ZIP=${QDAX_PACKAGE_ZIP}
            -D WORK=${CMAKE_BINARY_DIR}/package/msi
            -D TEMPLATE=${CMAKE_CURRENT_LIST_DIR}/installer.wxs.in
            -D PROGRAM=qdax-serial-loader.exe
            -D ICON=${PROJECT_SOURCE_DIR}/app/icon/qdax-serial-loader.ico
            -D PUBLISHER=${QDAX_PUBLISHER}
            -D WIXL=${QDAX_WIXL}
            -D VERSION=${QDAX_WINDOWS_VERSION}
            -D MSI=${QDAX_PACKAGE_MSI}
            -P ${CMAKE_CURRENT_LIST_DIR}/msi.cmake
    DEPENDS ${QDAX_PACKAGE_ZIP} ${CMAKE_CURRENT_LIST_DIR}/msi.cmake
            ${CMAKE_CURRENT_LIST_DIR}/installer.wxs.in
            ${PROJECT_SOURCE_DIR}/app/icon/qdax-serial-loader.ico
    COMMENT "Building qdax-serial-loader-${PROJECT_VERSION}-x64.msi"
    VERBATIM)
add_custom_target(windows_installer ALL DEPENDS ${QDAX_PACKAGE_MSI})
# For the tests of the packages, configured in a folder of their own.
set_property(GLOBAL PROPERTY QDAX_WINDOWS_PACKAGES
             ${QDAX_PACKAGE_ZIP} ${QDAX_PACKAGE_MSI} ${QDAX_PACKAGE_MSI_SOURCE})
