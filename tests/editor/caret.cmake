# Tests of the editor core: caret, selection, edit keys, mouse and clipboard (native, with sanitizers), the scroll
# arithmetic, and a random key-sequence property test.
canopia_add_test(NAME EditorCaretTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorCoreTest.cpp ${CMAKE_CURRENT_LIST_DIR}/EditorLayoutTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/EditorPropertyTest.cpp
    LIBS canopia_editor_core)
