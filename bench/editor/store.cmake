# Text store benchmark: load (warm, and first in a fresh process), memory, edits at every place of large texts,
# undo.
canopia_add_benchmark(NAME bench_editor_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_editor_store.cpp
                      LIBS canopia_editor_core)
