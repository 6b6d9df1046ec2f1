# Host build: the data tools, the art they make, and the fast unit tests.

add_executable(make_splash tools/splash/make_splash.cpp)
target_include_directories(make_splash PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(make_splash PRIVATE -Wno-unused-function)

set(SOLVANE_FONT_DIR /usr/share/fonts/truetype/dejavu)
set(SPLASH_BMP ${SOLVANE_GENERATED_DIR}/res/splash.bmp)
add_custom_command(
    OUTPUT ${SPLASH_BMP} ${SOLVANE_GENERATED_DIR}/res/splash_200.bmp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}/res
    COMMAND make_splash ${SOLVANE_FONT_DIR}/DejaVuSans-Bold.ttf ${SOLVANE_FONT_DIR}/DejaVuSans.ttf
            ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR} ${SPLASH_BMP} ${SOLVANE_GENERATED_DIR}/res/splash_200.bmp
    DEPENDS make_splash
    COMMENT "Drawing the splash bitmap")

add_executable(make_cheby tools/cheby/make_cheby.cpp)
set(DE405_TABLE /usr/share/casacore/data/ephemerides/DE405/table.f0i)
set(CHEBY_FILE ${SOLVANE_GENERATED_DIR}/cheby)
add_custom_command(
    OUTPUT ${CHEBY_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}
    COMMAND make_cheby ${DE405_TABLE} ${CHEBY_FILE}
    DEPENDS make_cheby ${DE405_TABLE}
    COMMENT "Converting the DE405 ephemeris")

# The image tool writes its bitmaps with the program's own writer.
add_executable(make_images tools/images/make_images.cpp render/BitmapFile.cpp
               platform/FileAccess_posix.cpp)
target_include_directories(make_images PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(make_images PRIVATE -Wno-unused-function -Wno-sign-compare)
set(MARBLE_MAPS /usr/share/marble/data/maps)
set(IMAGE_FILES earth_day.bmp earth_night.bmp clouds.bmp earth_icon.bmp sun.bmp moon_full.bmp
                moon_new.bmp moon_first.bmp moon_last.bmp drag.cur solvane.ico
                pane_decoration.bmp tray_reminder.bmp phase_131.bmp phase_132.bmp phase_133.bmp
                phase_134.bmp moon_face_171.bmp earth_map_159.bmp saver_moon_116.bmp)
list(TRANSFORM IMAGE_FILES PREPEND ${SOLVANE_GENERATED_DIR}/res/ OUTPUT_VARIABLE IMAGE_OUTPUTS)
add_custom_command(
    OUTPUT ${IMAGE_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}/res
    COMMAND make_images ${MARBLE_MAPS} ${SOLVANE_FONT_DIR}/DejaVuSans.ttf ${SOLVANE_GENERATED_DIR}/res
    DEPENDS make_images
    COMMENT "Making the Earth, Moon and Sun images")

# The dialogs' title banners and button faces.
add_executable(make_art tools/art/make_art.cpp render/BitmapFile.cpp platform/FileAccess_posix.cpp)
target_include_directories(make_art PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(make_art PRIVATE -Wno-unused-function -Wno-sign-compare)
set(ART_FILES banner_130.bmp banner_151.bmp banner_153.bmp banner_154.bmp banner_155.bmp
              banner_156.bmp banner_157.bmp banner_160.bmp banner_161.bmp faces_147.bmp faces_149.bmp
              faces_162.bmp faces_163.bmp faces_164.bmp faces_165.bmp faces_166.bmp faces_167.bmp
              faces_169.bmp faces_170.bmp)
list(TRANSFORM ART_FILES PREPEND ${SOLVANE_GENERATED_DIR}/res/ OUTPUT_VARIABLE ART_OUTPUTS)
add_custom_command(
    OUTPUT ${ART_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}/res
    COMMAND make_art ${SOLVANE_FONT_DIR}/DejaVuSans-Bold.ttf ${SOLVANE_GENERATED_DIR}/res
    DEPENDS make_art
    COMMENT "Drawing the banners and button faces")
# The screen saver's preview and settings pictures, 8 bits per pixel.
add_executable(make_saver_art tools/saver/make_saver_art.cpp)
target_include_directories(make_saver_art PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(make_saver_art PRIVATE -Wno-unused-function -Wno-sign-compare)
set(SAVER_ART_OUTPUTS ${SOLVANE_GENERATED_DIR}/res/saver_preview_105.bmp
                      ${SOLVANE_GENERATED_DIR}/res/saver_config_122.bmp
                      ${SOLVANE_GENERATED_DIR}/res/saver_config_122_200.bmp)
add_custom_command(
    OUTPUT ${SAVER_ART_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}/res
    COMMAND make_saver_art ${MARBLE_MAPS} ${SOLVANE_FONT_DIR}/DejaVuSans-Bold.ttf
            ${SOLVANE_FONT_DIR}/DejaVuSans.ttf ${SOLVANE_GENERATED_DIR}/res
    DEPENDS make_saver_art
    COMMENT "Drawing the screen saver's pictures")
# The United States places database, from the GeoNames table that make deps fetches with npm.
add_executable(make_usplaces tools/places/make_usplaces.cpp)
target_link_libraries(make_usplaces PRIVATE solvane_core)
set(SOLVANE_PLACES_TABLE "${CMAKE_SOURCE_DIR}/build/npm/cities500/package/dist/cities500.txt"
    CACHE FILEPATH "The GeoNames cities500 table (tools/places/fetch-source.sh)")
set(USPLACES_FILE ${SOLVANE_GENERATED_DIR}/USPlaces.bin)
add_custom_command(
    OUTPUT ${USPLACES_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}
    COMMAND make_usplaces ${SOLVANE_PLACES_TABLE} ${USPLACES_FILE}
    DEPENDS make_usplaces ${SOLVANE_PLACES_TABLE}
    COMMENT "Converting the GeoNames table into the US places database")
# The world places database, from the same table, CLDR's time zone tables and a table of country
# names (make deps).
add_executable(make_worldplaces tools/places/make_worldplaces.cpp)
target_link_libraries(make_worldplaces PRIVATE solvane_core)
set(SOLVANE_WINDOWS_ZONES "${CMAKE_SOURCE_DIR}/build/npm/cldr-core/package/supplemental/windowsZones.json"
    CACHE FILEPATH "CLDR's windowsZones.json (tools/places/fetch-source.sh)")
set(SOLVANE_ZONE_ALIASES "${CMAKE_SOURCE_DIR}/build/npm/cldr-bcp47/package/bcp47/timezone.json"
    CACHE FILEPATH "CLDR's bcp47/timezone.json (tools/places/fetch-source.sh)")
set(SOLVANE_COUNTRY_NAMES "${CMAKE_SOURCE_DIR}/build/npm/i18n-iso-countries/package/langs/en.json"
    CACHE FILEPATH "i18n-iso-countries' English country names (tools/places/fetch-source.sh)")
set(WORLDPLACES_SOURCES ${SOLVANE_PLACES_TABLE} ${SOLVANE_WINDOWS_ZONES} ${SOLVANE_ZONE_ALIASES}
    ${SOLVANE_COUNTRY_NAMES})
set(WORLDPLACES_FILE ${SOLVANE_GENERATED_DIR}/WorldPlaces.bin)
add_custom_command(
    OUTPUT ${WORLDPLACES_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_GENERATED_DIR}
    COMMAND make_worldplaces ${WORLDPLACES_SOURCES} ${WORLDPLACES_FILE}
    DEPENDS make_worldplaces ${WORLDPLACES_SOURCES}
    COMMENT "Making the world places database")
add_custom_target(generated-art ALL DEPENDS ${SPLASH_BMP} ${CHEBY_FILE} ${IMAGE_OUTPUTS} ${ART_OUTPUTS}
                  ${SAVER_ART_OUTPUTS} ${USPLACES_FILE} ${WORLDPLACES_FILE})

set_target_properties(solvane-almanac PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_custom_command(TARGET solvane-almanac POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E create_symlink ${CHEBY_FILE} ${CMAKE_BINARY_DIR}/bin/cheby
    COMMAND ${CMAKE_COMMAND} -E create_symlink ${WORLDPLACES_FILE} ${CMAKE_BINARY_DIR}/bin/WorldPlaces.bin)

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
target_link_libraries(host_tests PRIVATE solvane_cli gtest_main erfa)
target_compile_definitions(host_tests PRIVATE SOLVANE_TEST_CHEBY="${CHEBY_FILE}"
                           SOLVANE_TEST_USPLACES="${USPLACES_FILE}"
                           SOLVANE_TEST_WORLDPLACES="${WORLDPLACES_FILE}"
                           SOLVANE_TEST_ART_DIR="${SOLVANE_GENERATED_DIR}/res"
                           SOLVANE_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(host_tests generated-art)
include(GoogleTest)
gtest_discover_tests(host_tests)

# The art tool gives the same bytes at every run.
add_test(NAME make_art_repeats
         COMMAND sh -c "rm -rf art-repeat && mkdir -p art-repeat/a art-repeat/b && $<TARGET_FILE:make_art> $1 art-repeat/a && $<TARGET_FILE:make_art> $1 art-repeat/b && diff -r art-repeat/a art-repeat/b"
                 -- ${SOLVANE_FONT_DIR}/DejaVuSans-Bold.ttf
         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

# The screen saver's art tool gives the same bytes at every run.
add_test(NAME make_saver_art_repeats
         COMMAND sh -c "rm -rf saver-repeat && mkdir -p saver-repeat && $<TARGET_FILE:make_saver_art> $1 $2 $3 saver-repeat && cmp saver-repeat/saver_preview_105.bmp $4/saver_preview_105.bmp && cmp saver-repeat/saver_config_122.bmp $4/saver_config_122.bmp"
                 -- ${MARBLE_MAPS} ${SOLVANE_FONT_DIR}/DejaVuSans-Bold.ttf ${SOLVANE_FONT_DIR}/DejaVuSans.ttf
                    ${SOLVANE_GENERATED_DIR}/res
         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

# The places tool gives the same bytes at every run.
add_test(NAME make_usplaces_repeats
         COMMAND sh -c "$<TARGET_FILE:make_usplaces> $1 usplaces-repeat.bin >/dev/null && cmp usplaces-repeat.bin $2"
                 -- ${SOLVANE_PLACES_TABLE} ${USPLACES_FILE}
         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_test(NAME make_worldplaces_repeats
         COMMAND sh -c "$<TARGET_FILE:make_worldplaces> $1 $2 $3 $4 worldplaces-repeat.bin >/dev/null && cmp worldplaces-repeat.bin $5"
                 -- ${WORLDPLACES_SOURCES} ${WORLDPLACES_FILE}
         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

# The almanac program itself: bad arguments give a one-line usage error and status 2.
add_test(NAME almanac_usage_error
         COMMAND sh -c "$<TARGET_FILE:solvane-almanac> --lat 95; test $? -eq 2")
add_test(NAME almanac_empty_cheby_path
         COMMAND sh -c "$<TARGET_FILE:solvane-almanac> --cheby ''; test $? -eq 2")
add_test(NAME almanac_page COMMAND solvane-almanac --utc 2000-01-01T12:00:00 --tz-bias 0)
set_tests_properties(almanac_page PROPERTIES PASS_REGULAR_EXPRESSION "January 1, 2000 12:00:00 UTC")

# Benchmarks: make bench.
add_executable(astro_bench EXCLUDE_FROM_ALL bench/astro_bench.cpp)
target_link_libraries(astro_bench PRIVATE solvane_core erfa)
add_custom_target(bench COMMAND astro_bench ${CHEBY_FILE} DEPENDS astro_bench generated-art)

# Every include points down the layers.
add_test(NAME layering COMMAND ${CMAKE_SOURCE_DIR}/tools/check-layers.sh)

# The help pages: the pages the program opens exist, every local link resolves, pages are well-formed.
add_test(NAME help_pages COMMAND ${CMAKE_SOURCE_DIR}/tools/check-help.sh)

# The installer script grants no rights, removes only what it installed, starts the clock as the user.
add_test(NAME installer_script COMMAND ${CMAKE_SOURCE_DIR}/tools/check-installer.sh)
