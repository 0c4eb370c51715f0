# The view arithmetic of the editor control: layout values and the character grid (portable).
list(APPEND EDITOR_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/EditorLayout.cpp
)
