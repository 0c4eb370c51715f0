# The editor's tokenisers over arbitrary bytes and start states: no read past a row's end, no hang.
canopia_add_fuzz_test(NAME fuzz_editor_parser SECONDS 30
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_parser.cpp
    LIBS canopia_editor_core)
