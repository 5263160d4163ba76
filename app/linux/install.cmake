# The window program as a Linux desktop installs it: the program, its menu entry, its icon for
# every theme size, its AppStream metadata and its man page.
include(GNUInstallDirs)

install(TARGETS qdax-serial-loader RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${QDAX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/icon/qdax-serial-loader.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QDAX_APP_ID}.svg)
foreach(size IN LISTS QDAX_ICON_SIZES)
    install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/icon/qdax-serial-loader-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QDAX_APP_ID}.png)
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/${QDAX_APP_ID}.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/${QDAX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QDAX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
qdax_install_man_page(${CMAKE_CURRENT_LIST_DIR}/qdax-serial-loader.1.in)
