# CTest fixture: one Xvfb display and one Wine prefix for the whole suite, ended by PID when it is over.
add_test(NAME wine_start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run --state=${CANOPIA_WINE_STATE} --start)
add_test(NAME wine_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run --state=${CANOPIA_WINE_STATE} --stop)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120)
