# Host build: the data tools, the art they make, and the fast unit tests.

add_executable(make_splash tools/splash/make_splash.cpp)
target_compile_options(make_splash PRIVATE -Wno-unused-function)

set(SOLVANE_FONT_DIR /usr/share/fonts/truetype/dejavu)
set(SPLASH_BMP ${SOLVANE_GENERATED_DIR}/res/splash.bmp)
add_custom_command(
    OUTPUT ${SPLASH_BMP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}/res
    COMMAND make_splash ${SOLVANE_FONT_DIR}/DejaVuSans-Bold.ttf ${SOLVANE_FONT_DIR}/DejaVuSans.ttf
            ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR} ${SPLASH_BMP}
    DEPENDS make_splash
    COMMENT "Drawing the splash bitmap")

add_executable(make_cheby tools/cheby/make_cheby.cpp)
set(DE405_TABLE /usr/share/casacore/data/ephemerides/DE405/table.f0i)
set(CHEBY_FILE ${SOLVANE_GENERATED_DIR}/cheby)
add_custom_command(
    OUTPUT ${CHEBY_FILE}
    COMMAND make_cheby ${DE405_TABLE} ${CHEBY_FILE}
    DEPENDS make_cheby ${DE405_TABLE}
    COMMENT "Converting the DE405 ephemeris")
add_custom_target(generated-art ALL DEPENDS ${SPLASH_BMP} ${CHEBY_FILE})

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
target_link_libraries(host_tests PRIVATE solvane_core gtest_main erfa)
target_compile_definitions(host_tests PRIVATE SOLVANE_TEST_CHEBY="${CHEBY_FILE}")
add_dependencies(host_tests generated-art)
include(GoogleTest)
gtest_discover_tests(host_tests)
