# The editor's text store: rows in blocks, column map, ReplaceRows, undo and redo, Lines, loading and saving.
list(APPEND EDITOR_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/RowBaseList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RowLoader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BreakScan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Chunk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorStringList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorScreenStrings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorClient.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorStrings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWrapOption.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WordWrapper.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UndoList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ColumnMap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditMessages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InvisibleFaults.cpp
)
