# The editor's caret, selection, keys, mouse and clipboard texts (portable core) and the TEditor window (Win32).
list(APPEND EDITOR_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/EditorOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorCore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorEditing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RowBlockEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ClipboardText.cpp
)
list(APPEND EDITOR_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TEditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScriptEditorSetup.cpp
)
