# Benchmarks of the row colouring states: a full rebuild of a 100 MB script against one table pass over its
# bytes, and the update after a typed character at 10,000 and at 1,000,000 rows.
canopia_add_benchmark(NAME bench_fountain SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_fountain.cpp
                      LIBS canopia_editor_core)
# The table pass is the plain loop on both builds: the x86-64 compiler's vectorised form of it (lookups put
# together lane by lane) takes twice as long, and a slow baseline would flatter the ratio.
target_compile_options(bench_fountain PRIVATE -fno-tree-vectorize)
