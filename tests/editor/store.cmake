# Tests of the editor's text store (native, with sanitizers).
canopia_add_test(NAME EditorStoreTest
    SOURCES RowBaseListTest.cpp ReplaceRowsTest.cpp UndoTest.cpp LinesTest.cpp ColumnMapTest.cpp StoreHooksTest.cpp
        ChunkTest.cpp BreakScanTest.cpp WordWrapTest.cpp InvisibleFaultsTest.cpp
    LIBS canopia_editor_core)
