# Editor core key path: typing at the end of a large text, and caret movement Down through every row.
canopia_add_benchmark(NAME bench_editor_caret SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_editor_caret.cpp
                      LIBS canopia_editor_core)
