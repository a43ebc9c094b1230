# The GUI tests: a driver program starts the real QuarnInstaller.exe under
# Wine on a virtual display of its own and acts as a user would.
add_executable(gui_driver tools/gui/gui_driver.cpp tools/gui/gui_session.cpp)
target_include_directories(gui_driver PRIVATE ${CMAKE_SOURCE_DIR})

add_test(NAME gui_tests
         COMMAND bash ${CMAKE_SOURCE_DIR}/tools/gui/run_gui_tests.sh
                 --build ${CMAKE_BINARY_DIR})
# After the unit tests, alone: it needs the machine's attention for timing.
set_tests_properties(gui_tests PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE
                     DEPENDS "quarn_tests;scenario_sample_install")
