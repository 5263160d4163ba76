# GoogleTest and the way test programs run on a Windows build. An installed GoogleTest (vcpkg,
# for instance) is used when found; otherwise, as always when cross compiling from Debian, it is
# built from its sources with the project's own compiler.
set(QDAX_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest sources to build when no installed GoogleTest fits the compiler")
option(QDAX_GTEST_FROM_SOURCE "Build GoogleTest from QDAX_GTEST_SOURCE_DIR" ${CMAKE_CROSSCOMPILING})

if(NOT QDAX_GTEST_FROM_SOURCE)
    find_package(GTest QUIET)
endif()
if(NOT GTest_FOUND)
    if(NOT EXISTS "${QDAX_GTEST_SOURCE_DIR}/CMakeLists.txt")
        message(FATAL_ERROR "GoogleTest not found: install it, or point QDAX_GTEST_SOURCE_DIR at "
                            "its sources (Debian: package googletest)")
    endif()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory("${QDAX_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    # Built with its own flags, not the project's warnings-as-errors.
    set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "")
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
endif()

# Cross compiled test programs run under Wine, in a prefix of the build's own that the wrapper
# makes on first use. CTest and test discovery go through the wrapper unchanged.
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(QDAX_WINE wine REQUIRED)
    set(QDAX_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix" CACHE PATH
        "The Wine prefix the Windows tests run in (made when missing)")
    # Qt's DLLs are found where Qt is installed, through Wine's drive Z: (the Linux root).
    set(QDAX_WINEPATH "")
    if(QT6_INSTALL_PREFIX)
        string(REPLACE "/" "\\" QDAX_WINEPATH "Z:${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
    endif()
    configure_file("${PROJECT_SOURCE_DIR}/tests/wine/run-wine.in"
                   "${CMAKE_BINARY_DIR}/run-wine" @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/run-wine")
    # Holds Wine's desktop for a whole test run, started and ended by the tests' prefix fixture
    # (tests/wine/desktop-keeper).
    add_executable(qdax-desktop-keeper "${PROJECT_SOURCE_DIR}/tests/wine/desktop_keeper.cpp")
endif()
