# Text store benchmark: load, memory, edits at every place of large texts, undo.
if(NOT CANOPIA_WIN32 AND NOT CANOPIA_FUZZ)
    add_executable(bench_editor_store ${CMAKE_CURRENT_LIST_DIR}/bench_editor_store.cpp)
    target_link_libraries(bench_editor_store PRIVATE canopia_editor_core)
endif()
