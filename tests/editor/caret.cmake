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
    canopia_add_test(NAME TEditorTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/TEditorTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TEditorPaintTest.cpp ${_editor_rc}
        LIBS canopia_editor)
    target_include_directories(TEditorTest PRIVATE ${CMAKE_SOURCE_DIR}/src/resources)
    # The control as the script editor configures it, kept as a reference picture and compared by a second test.
    canopia_wine_path(_teditor_picture "${CMAKE_CURRENT_BINARY_DIR}/teditor-script-editor.bmp")
    target_compile_definitions(TEditorTest PRIVATE "CANOPIA_TEDITOR_PICTURE=\"${_teditor_picture}\"")
    set_tests_properties(TEditorTest.wine PROPERTIES FIXTURES_SETUP teditor_picture)
    find_program(CANOPIA_IMAGE_COMPARE compare REQUIRED)
    add_test(NAME TEditorReferencePicture
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/gdi/compare-picture ${CANOPIA_IMAGE_COMPARE}
            ${CMAKE_CURRENT_BINARY_DIR}/teditor-script-editor.bmp ${CMAKE_CURRENT_LIST_DIR}/gdi/teditor-script-editor.png
            500 10%)
    set_tests_properties(TEditorReferencePicture PROPERTIES FIXTURES_REQUIRED teditor_picture TIMEOUT 60)
endif()
