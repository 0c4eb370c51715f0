# Benchmarks of the row colouring states: a full rebuild of a 100 MB script against one table pass over its
# bytes, and the update after a typed character at 10,000 and at 1,000,000 rows.
if(NOT CANOPIA_WIN32)
    add_executable(bench_fountain ${CMAKE_CURRENT_LIST_DIR}/bench_fountain.cpp)
    target_link_libraries(bench_fountain PRIVATE canopia_editor_core)
endif()
