# Makes the Windows package folder and its zip (see package.cmake): the programs, the plugins in
# the folders Qt looks for them in beside the program, and every DLL these load from DLL_DIR,
# found by reading their imports, all stripped, with the licences. Any other import must be one of
# the system's own DLLs.
cmake_minimum_required(VERSION 3.25)

# What Windows itself has in System32 and a program may import.
set(system_dlls
    advapi32 authz comdlg32 d3d9 d3d11 dwmapi dxgi gdi32 imm32 kernel32 mpr msvcrt netapi32
    ole32 oleaut32 opengl32 setupapi shcore shell32 shlwapi user32 userenv uxtheme version
    winmm winspool.drv wtsapi32 ws2_32)

# Windows matches DLL names without regard to case; this file system does not.
file(GLOB candidates ${DLL_DIR}/*.dll)
foreach(candidate IN LISTS candidates)
    get_filename_component(name ${candidate} NAME)
    string(TOLOWER ${name} name)
    set(dll_${name} ${candidate})
endforeach()

file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(COPY ${PROGRAMS} DESTINATION ${FOLDER})
# Qt's files in the package (the plugins and the DLLs from DLL_DIR), as its notice lists them.
set(qt_files "")
foreach(plugin IN LISTS PLUGINS)
    get_filename_component(kind_dir ${plugin} DIRECTORY)
    get_filename_component(kind ${kind_dir} NAME)
    file(COPY ${plugin} DESTINATION ${FOLDER}/${kind})
    get_filename_component(name ${plugin} NAME)
    list(APPEND qt_files "${kind}\\${name}")
endforeach()

set(pending ${PROGRAMS} ${PLUGINS})
set(copied "")
while(pending)
    list(POP_FRONT pending binary)
    execute_process(COMMAND ${OBJDUMP} -p ${binary} OUTPUT_VARIABLE dump
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
    foreach(import IN LISTS imports)
        string(REGEX REPLACE "^DLL Name: " "" name "${import}")
        string(TOLOWER "${name}" name)
        if(name MATCHES "^(api|ext)-ms-" OR name IN_LIST copied)
            continue()
        endif()
        if(DEFINED dll_${name})
            file(COPY ${dll_${name}} DESTINATION ${FOLDER})
            list(APPEND copied ${name})
            get_filename_component(file_name ${dll_${name}} NAME)
            list(APPEND qt_files ${file_name})
            list(APPEND pending ${dll_${name}})
            continue()
        endif()
        string(REGEX REPLACE "\\.dll$" "" stem "${name}")
        if(NOT stem IN_LIST system_dlls)
            message(FATAL_ERROR "${binary} imports ${name}, which is neither in ${DLL_DIR} nor "
                                "the system's")
        endif()
    endforeach()
endwhile()

# The licences: the program's own, and the notices of the software of others that the package
# carries (NOTICES names Qt's files as @QDAX_QT_FILES@).
file(COPY_FILE ${LICENSE} ${FOLDER}/LICENSE.txt)
file(COPY ${LICENSES_DIR} DESTINATION ${FOLDER})
list(SORT qt_files)
list(TRANSFORM qt_files PREPEND "    ")
string(REPLACE ";" "\n" QDAX_QT_FILES "${qt_files}")
configure_file(${NOTICES} ${FOLDER}/THIRD-PARTY-NOTICES.txt @ONLY)

# The debug information and symbol tables of the programs and of Qt are most of their size and of
# no use to a user; the build keeps its own unstripped copies.
file(GLOB_RECURSE binaries ${FOLDER}/*.exe ${FOLDER}/*.dll)
execute_process(COMMAND ${STRIP} --strip-unneeded ${binaries} COMMAND_ERROR_IS_FATAL ANY)

get_filename_component(parent ${FOLDER} DIRECTORY)
get_filename_component(name ${FOLDER} NAME)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${name}
                WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)
