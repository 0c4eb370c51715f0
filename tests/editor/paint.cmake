# Tests of the editor's painter: option objects, the painting decisions on a recording surface, repaint and
# scroll plans, the caret's place.
canopia_add_test(NAME PaintTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/PaintTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RepaintPlanTest.cpp
    LIBS canopia_editor_core)
