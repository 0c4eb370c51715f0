# Settings values from a hand-edited file: integers read as a strtoll reference reads them and read back the same
# once written, booleans as integers, cut texts on a character boundary.
canopia_add_fuzz_test(NAME fuzz_settings_value SECONDS 15
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_value.cpp
    LIBS canopia_library_core)
