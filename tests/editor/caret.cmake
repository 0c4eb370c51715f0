# Tests of the editor core: caret, selection, edit keys, mouse and clipboard (native, with sanitizers), the scroll
# arithmetic, and a random key-sequence property test.
canopia_add_test(NAME EditorCaretTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorCoreTest.cpp ${CMAKE_CURRENT_LIST_DIR}/EditorLayoutTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/EditorPropertyTest.cpp
    LIBS canopia_editor_core)
# The TEditor window under Wine, with the editor's cursors compiled in as the program has them.
if(CANOPIA_WIN32)
    enable_language(RC)
    set(_editor_rc ${CMAKE_SOURCE_DIR}/src/resources/editor.rc)
    set_property(SOURCE ${_editor_rc} APPEND PROPERTY COMPILE_OPTIONS "-c" "932")
    canopia_add_test(NAME TEditorTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/TEditorTest.cpp ${_editor_rc}
        LIBS canopia_editor)
    target_include_directories(TEditorTest PRIVATE ${CMAKE_SOURCE_DIR}/src/resources)
endif()
