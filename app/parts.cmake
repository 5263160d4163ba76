# Components of the window that stand on their own: command files and saved logs, the log's line
# store, the delay field.
add_library(qdax_app_parts STATIC
    ${CMAKE_CURRENT_LIST_DIR}/text_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/log_line_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/delay_reading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/delay_spin_edit.cpp
)
target_link_libraries(qdax_app_parts PUBLIC qdax_platform Qt6::Widgets)
