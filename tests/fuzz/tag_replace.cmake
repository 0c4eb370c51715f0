# Tag substitution with hostile file paths: path parts that rebuild the path, and replacements equal to a slow
# reference.
canopia_add_fuzz_test(NAME fuzz_tag_replace SECONDS 15
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tag_replace.cpp
    LIBS canopia_runner_core)
