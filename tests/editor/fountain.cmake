# Tests of the colour scheme, the tokenisers, the row colouring state and word movement.
canopia_add_test(NAME FountainTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/FountainTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ParserTest.cpp
    LIBS canopia_editor_core)
canopia_add_test(NAME RowStatesTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/RowStatesTest.cpp ${CMAKE_CURRENT_LIST_DIR}/WordMotionTest.cpp
    LIBS canopia_editor_core)
