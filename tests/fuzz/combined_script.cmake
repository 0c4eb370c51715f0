# The combined-script writer fed by a script that fails to open or fails part-way, writing into a file that fills
# up: the reference output, or that failure with a true start of the output.
canopia_add_fuzz_test(NAME fuzz_combined_script SECONDS 20
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/combined_script.cpp
    LIBS canopia_runner_core)
