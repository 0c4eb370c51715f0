# The editor core: message offsets, clipboard blocks, typed bytes, keys and mouse gestures in any order.
canopia_add_fuzz_test(NAME fuzz_editor_caret SECONDS 30
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_caret.cpp
    LIBS canopia_editor_core)
