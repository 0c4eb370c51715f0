# The painter of the editor control: option objects, painting decisions behind a surface, repaint and scroll
# plans, the caret's place (portable); the GDI surface (Win32).
list(APPEND EDITOR_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/PaintOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorPainter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RepaintPlan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorDisplay.cpp
)
list(APPEND EDITOR_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/GdiSurface.cpp
)
