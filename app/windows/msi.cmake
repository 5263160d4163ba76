# Builds the Windows Installer package from exactly the files of the zip (see package.cmake):
# unpacks ZIP into WORK, lists its folder into TEMPLATE (one component per file, the Start menu's
# shortcut on PROGRAM's) and has WIXL build MSI of VERSION from it. The filled-in source stays as
# WORK/installer.wxs, its version left to wixl's -D Version=, for packages of other versions.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${WORK}/files)
file(GLOB folder LIST_DIRECTORIES true ${WORK}/files/*)
list(LENGTH folder folders)
if(NOT folders EQUAL 1 OR NOT IS_DIRECTORY ${folder})
    message(FATAL_ERROR "${ZIP} holds more than its one folder")
endif()

function(escape_xml text result)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

# Windows Installer's identifiers: letters, digits, '_' and '.', at most 72 characters, each one
# the table's only one of its name.
set(ids "")
function(identifier kind path result)
    string(MAKE_C_IDENTIFIER "${path}" id)
    set(id "${kind}_${id}")
    string(LENGTH "${id}" length)
    if(length GREATER 72 OR id IN_LIST ids)
        message(FATAL_ERROR "${path} has no identifier of its own in the installer: ${id}")
    endif()
    set(ids ${ids} ${id} PARENT_SCOPE)
    set(${result} ${id} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${folder} ${folder}/*)
list(SORT files)
set(FILES "")
set(COMPONENT_REFS "")
foreach(file IN LISTS files)
    get_filename_component(dir "${file}" DIRECTORY)
    # Each folder once, in its parent, before its files: sorted, a parent comes first.
    set(parent_id INSTALLDIR)
    set(walked "")
    string(REPLACE "/" ";" parts "${dir}")
    foreach(part IN LISTS parts)
        set(walked "${walked}${part}")
        if(NOT DEFINED "id_of_${walked}")
            identifier(dir "${walked}" "id_of_${walked}")
            escape_xml("${part}" part_xml)
            string(APPEND FILES "    <DirectoryRef Id=\"${parent_id}\">\n"
                   "      <Directory Id=\"${id_of_${walked}}\" Name=\"${part_xml}\"/>\n"
                   "    </DirectoryRef>\n")
        endif()
        set(parent_id "${id_of_${walked}}")
        string(APPEND walked "/")
    endforeach()
    identifier(file "${file}" file_id)
    identifier(component "${file}" component_id)
    file(RELATIVE_PATH source ${WORK} "${folder}/${file}")
    escape_xml("${source}" source_xml)
    set(shortcut "")
    if(file STREQUAL PROGRAM)
        string(CONCAT shortcut "\n        <Shortcut Id=\"StartMenuShortcut\""
               " Directory=\"ProgramMenuFolder\" Name=\"Q-Dax Serial Loader\""
               " Description=\"Send commands and command files to a serial device\""
               " Target=\"[#${file_id}]\" WorkingDirectory=\"INSTALLDIR\"/>")
    endif()
    string(APPEND FILES "    <DirectoryRef Id=\"${parent_id}\">\n"
           "      <Component Id=\"${component_id}\" Guid=\"*\" Win64=\"yes\">\n"
           "        <File Id=\"${file_id}\" Source=\"${source_xml}\" KeyPath=\"yes\"/>"
           "${shortcut}\n"
           "      </Component>\n"
           "    </DirectoryRef>\n")
    string(APPEND COMPONENT_REFS "      <ComponentRef Id=\"${component_id}\"/>\n")
endforeach()
if(NOT PROGRAM IN_LIST files)
    message(FATAL_ERROR "${ZIP} holds no ${PROGRAM} for the Start menu's shortcut")
endif()

escape_xml("${PUBLISHER}" PUBLISHER)
# wixl takes its sources by paths relative to the source file's folder.
file(COPY_FILE ${ICON} ${WORK}/program.ico)
configure_file(${TEMPLATE} ${WORK}/installer.wxs @ONLY)
# wixl warns of what it ignores: with fatal warnings that stops the build.
execute_process(COMMAND ${CMAKE_COMMAND} -E env G_DEBUG=fatal-warnings
                        ${WIXL} -a x64 -D Version=${VERSION} -o ${MSI}.part ${WORK}/installer.wxs
                COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${MSI}.part ${MSI})
