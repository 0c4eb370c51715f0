# The editor's text store: loading arbitrary bytes in arbitrary read sizes, then edit sequences with undo and
# redo, word wrap switched on and off; the rows stay consistent and undo/redo give back the texts exactly.
canopia_add_fuzz_test(NAME fuzz_editor_store SECONDS 30
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_store.cpp
    LIBS canopia_editor_core)
