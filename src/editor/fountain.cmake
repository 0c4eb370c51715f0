# Colour scheme, tokenisers, row colouring state and word movement of the editor control (portable).
list(APPEND EDITOR_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Fountain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TokenParser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FountainParser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorParser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RowStates.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WordMotion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScriptScheme.cpp
)
