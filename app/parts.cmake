# Components of the window that stand on their own: the log's line store and the delay field.
add_library(qdax_app_parts STATIC
    ${CMAKE_CURRENT_LIST_DIR}/log_line_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/delay_reading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/delay_spin_edit.cpp
)
target_link_libraries(qdax_app_parts PUBLIC Qt6::Widgets)
