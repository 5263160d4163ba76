# The Windows package: the program and qdax-play beside it, with exactly the DLLs and plugins they
# load, in a folder of its own and zipped as qdax-serial-loader-<version>-win64.zip in the build
# directory.
set(QDAX_PACKAGE_NAME qdax-serial-loader-${PROJECT_VERSION}-win64)
set(QDAX_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${QDAX_PACKAGE_NAME}.zip)
set(QDAX_PACKAGE_PROGRAMS $<TARGET_FILE:qdax-serial-loader> $<TARGET_FILE:qdax-play>)
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
add_custom_command(
    OUTPUT ${QDAX_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND}
            -D "PROGRAMS=${QDAX_PACKAGE_PROGRAMS}"
            -D "PLUGINS=${qt_plugins}/platforms/qwindows.dll;${qt_plugins}/styles/qwindowsvistastyle.dll"
            -D DLL_DIR=${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}
            -D OBJDUMP=${CMAKE_OBJDUMP}
            -D STRIP=${CMAKE_STRIP}
            -D FOLDER=${CMAKE_BINARY_DIR}/package/${QDAX_PACKAGE_NAME}
            -D ZIP=${QDAX_PACKAGE_ZIP}
            -P ${CMAKE_CURRENT_LIST_DIR}/deploy.cmake
    DEPENDS qdax-serial-loader qdax-play ${CMAKE_CURRENT_LIST_DIR}/deploy.cmake
    COMMENT "Packing ${QDAX_PACKAGE_NAME}.zip"
    VERBATIM)
add_custom_target(windows_package ALL DEPENDS ${QDAX_PACKAGE_ZIP})
