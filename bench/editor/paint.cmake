# Painting benchmark under Wine: a full screen of coloured script text through the painter against plain
# ExtTextOutA calls, and the rows a scroll and a typed character repaint.
# Run: cmake --build --preset win32 --target bench_paint_run   (or tools/wine-run build/win32/bench/editor/bench_paint.exe)
if(CANOPIA_WIN32)
    add_executable(bench_paint ${CMAKE_CURRENT_LIST_DIR}/bench_paint.cpp)
    target_include_directories(bench_paint PRIVATE ${CMAKE_SOURCE_DIR}/tests/editor)
    target_link_libraries(bench_paint PRIVATE canopia_editor)
    add_custom_target(bench_paint_run COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:bench_paint>
        DEPENDS bench_paint USES_TERMINAL)
endif()
