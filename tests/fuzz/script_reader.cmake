# The script reader over arbitrary bytes and read sizes, also past its buffer: exactly the reference's lines.
canopia_add_fuzz_test(NAME fuzz_script_reader SECONDS 20
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_reader.cpp
    LIBS canopia_runner_core)
