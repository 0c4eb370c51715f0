# Editor core key path: typing at the end of a large text, and caret movement Down through every row.
if(NOT CANOPIA_WIN32 AND NOT CANOPIA_FUZZ)
    add_executable(bench_editor_caret ${CMAKE_CURRENT_LIST_DIR}/bench_editor_caret.cpp)
    target_link_libraries(bench_editor_caret PRIVATE canopia_editor_core)
endif()
