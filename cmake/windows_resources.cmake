# What Windows shows of the programs: their icon, version and publisher, in Explorer, the task
# bar, a file's Properties and the installer's entry in Apps & features.
set(QDAX_PUBLISHER "Q-Dax Serial Loader developers")
# Windows Installer compares only the first three fields of a version: each release must rise in
# them for its installer to replace the one before.
if("${PROJECT_VERSION_PATCH}" STREQUAL "")
    set(QDAX_WINDOWS_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0)
else()
    set(QDAX_WINDOWS_VERSION
        ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
endif()

# Gives a Windows program the program's icon and its version information.
function(qdax_windows_resources target description)
    set(QDAX_RC_NAME ${target})
    set(QDAX_RC_DESCRIPTION ${description})
    set(QDAX_ICON_FILE ${PROJECT_SOURCE_DIR}/app/icon/qdax-serial-loader.ico)
    string(REPLACE "." "," QDAX_RC_VERSION "${QDAX_WINDOWS_VERSION},0")
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/app/windows/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
