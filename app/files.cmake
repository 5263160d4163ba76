# The window's command files and saved logs, which need no Qt: qdax-play reads and writes them
# the same way, so they are built also where the window is not.
add_library(qdax_app_files STATIC ${CMAKE_CURRENT_LIST_DIR}/text_files.cpp)
target_link_libraries(qdax_app_files PUBLIC qdax_platform)
