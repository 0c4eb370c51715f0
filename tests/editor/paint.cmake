# Tests of the editor's painter: option objects, the painting decisions on a recording surface, repaint and
# scroll plans, the caret's place.
canopia_add_test(NAME PaintTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/PaintTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RepaintPlanTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/EditorDisplayTest.cpp
    LIBS canopia_editor_core)
# Under Wine: the painter on GDI, pixel by pixel, and the script editor's reference picture; the picture a run
# paints is compared with the kept one (tests/editor/gdi/script-editor.png) by a second test.
if(CANOPIA_WIN32)
    canopia_add_test(NAME GdiPaintTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/gdi/GdiPaintTest.cpp LIBS canopia_editor)
    target_include_directories(GdiPaintTest PRIVATE ${CMAKE_CURRENT_LIST_DIR})
    canopia_wine_path(_paint_picture "${CMAKE_CURRENT_BINARY_DIR}/script-editor.bmp")
    target_compile_definitions(GdiPaintTest PRIVATE "CANOPIA_PAINT_PICTURE=\"${_paint_picture}\"")
    set_tests_properties(GdiPaintTest.wine PROPERTIES FIXTURES_SETUP paint_picture)
    find_program(CANOPIA_IMAGE_COMPARE compare REQUIRED)
    add_test(NAME PaintReferencePicture
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/gdi/compare-picture ${CANOPIA_IMAGE_COMPARE}
            ${CMAKE_CURRENT_BINARY_DIR}/script-editor.bmp ${CMAKE_CURRENT_LIST_DIR}/gdi/script-editor.png 500 10%)
    set_tests_properties(PaintReferencePicture PROPERTIES FIXTURES_REQUIRED paint_picture TIMEOUT 60)
endif()
