# The name rules over arbitrary bytes for groups and scripts: accepted names hold none of the nine characters
# outside double-byte characters, and every fault agrees with a plain reference.
canopia_add_fuzz_test(NAME fuzz_name_rules SECONDS 15
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/name_rules.cpp
    LIBS canopia_library_core)
