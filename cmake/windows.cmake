# Windows cross build: the programs, their resources, and the tests that run under wine.

set(SOLVANE_DIST_DIR "${CMAKE_BINARY_DIR}/dist" CACHE PATH "The Windows install folder")
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -s")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                        SOLVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} SOLVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR})

# Win32 code shared by the programs: the thin layer over the platform.
add_library(solvane_platform STATIC
    platform/Application.cpp
    platform/Dialog.cpp
    platform/Dpi.cpp
    platform/Elevation.cpp
    platform/FolderTrustReading.cpp
    platform/MessageBoxPrompt.cpp
    platform/LocaleMonthNames.cpp
    platform/Resources.cpp
    platform/ShellOpen.cpp
    platform/Win32Registry.cpp
    platform/Window.cpp
    platform/WindowVisibility.cpp
)
target_link_libraries(solvane_platform PUBLIC solvane_core advapi32 dwmapi)

# The image library.
add_library(SVShared SHARED imagelib/SVShared.cpp imagelib/SVShared.rc)
target_compile_definitions(SVShared PRIVATE SVSHARED_BUILD)
target_include_directories(SVShared PRIVATE ${CMAKE_SOURCE_DIR} ${SOLVANE_GENERATED_DIR}/res)
set_target_properties(SVShared PROPERTIES PREFIX "" OUTPUT_NAME SVShared)
set_source_files_properties(imagelib/SVShared.rc PROPERTIES
    OBJECT_DEPENDS "${SOLVANE_GENERATED_DIR}/res/earth_day.bmp")
add_custom_command(TARGET SVShared POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:SVShared> ${SOLVANE_DIST_DIR}/)

# The renderer: OpenGL on Win32.
add_library(solvane_render STATIC
    render/EarthScene.cpp
    render/LitEarthTexture.cpp
    render/SolarShadowTexture.cpp
    render/EarthView.cpp
    render/EarthTextures.cpp
    render/GLDrawing.cpp
    render/GLTarget.cpp
    render/GlyphFont.cpp
    render/MoonPhaseImage.cpp
    render/PlaceMarkPainter.cpp
    render/ReadPixels.cpp
    render/ResourceBitmaps.cpp
    render/SharedImages.cpp
    render/TextDrawing.cpp
    render/ViewContext.cpp
    render/ViewPalette.cpp
    render/WallpaperEarth.cpp
)
# SVShared.dll is loaded when first needed (render/SharedImages), not linked.
target_link_libraries(solvane_render PUBLIC solvane_platform glu32 opengl32 gdi32)
add_dependencies(solvane_render SVShared)

add_executable(solvane-render cli/render_main.cpp res/render.rc)
target_include_directories(solvane-render PRIVATE ${CMAKE_SOURCE_DIR}/res ${SOLVANE_GENERATED_DIR}/res)
target_link_libraries(solvane-render PRIVATE solvane_render solvane_cli)
set_source_files_properties(res/render.rc PROPERTIES
    OBJECT_DEPENDS "${SOLVANE_GENERATED_DIR}/res/moon_full.bmp")
add_custom_command(TARGET solvane-render POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:solvane-render> ${SOLVANE_DIST_DIR}/)

# The skinned dialogs, their controls and the About window.
add_library(solvane_ui STATIC
    ui/AboutWindow.cpp
    ui/HelpPage.cpp
    ui/RoundedGroupBox.cpp
    ui/SkinBrushes.cpp
    ui/SkinButton.cpp
    ui/SkinnedDialog.cpp
)
target_link_libraries(solvane_ui PUBLIC solvane_platform comctl32 shell32 msimg32 uxtheme)

# The Lunar Phases window and its views.
add_library(solvane_almanac STATIC
    almanac/IlluminationView.cpp
    almanac/LunarPhasesWindow.cpp
    almanac/OrbitView.cpp
    almanac/EclipsesDialog.cpp
    almanac/PhaseInputs.cpp
)
target_link_libraries(solvane_almanac PUBLIC solvane_ui solvane_render winmm)

# The home location and United States places dialogs.
add_library(solvane_location STATIC
    location/HomeLocationDialog.cpp
    location/ZoneChoices.cpp
    location/USPlacesDialog.cpp
)
target_link_libraries(solvane_location PUBLIC solvane_ui)

# The General and Clock settings dialogs.
add_library(solvane_settings STATIC
    settings/ClockSettingsDialog.cpp
    settings/GeneralSettingsDialog.cpp
)
target_link_libraries(solvane_settings PUBLIC solvane_location solvane_render)

# The time servers' client: the socket that asks them, its host lookups, the system's clock.
add_library(solvane_timeclient STATIC
    timesync/HostLookup.cpp
    timesync/SystemClockSetter.cpp
    timesync/TimeSyncSocket.cpp
)
target_link_libraries(solvane_timeclient PUBLIC solvane_platform ws2_32 advapi32)

# The program that sets the clock, with administrator rights: it imports only libraries that
# Windows always loads from its own folder (the test below), so nothing beside it is loaded.
add_executable(solvane-setclock WIN32 timesync/setclock_main.cpp timesync/ClockSettingInstance.cpp res/setclock.rc)
target_include_directories(solvane-setclock PRIVATE ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(solvane-setclock PRIVATE solvane_timeclient)
add_custom_command(TARGET solvane-setclock POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:solvane-setclock> ${SOLVANE_DIST_DIR}/)
add_test(NAME setclock_imports COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports.sh ${SOLVANE_DIST_DIR}/solvane-setclock.exe)

# The Set Clock dialog.
add_library(solvane_timesync STATIC timesync/SetClockDialog.cpp)
target_link_libraries(solvane_timesync PUBLIC solvane_timeclient solvane_ui)

# The wallpaper's pictures for each monitor and how the shell is given them.
add_library(solvane_wallpaper STATIC
    desktop/ShellWallpaper.cpp
    desktop/WallpaperRenewal.cpp
)
target_link_libraries(solvane_wallpaper PUBLIC solvane_render ole32 uuid)

add_executable(solvane WIN32
    app/ClockApp.cpp
    app/SplashWindow.cpp
    desktop/ClockTimer.cpp
    desktop/Commands.cpp
    desktop/main.cpp
    desktop/DataPane.cpp
    desktop/EarthFrame.cpp
    desktop/NoticeDialog.cpp
    desktop/OffscreenDib.cpp
    desktop/TrayFrame.cpp
    desktop/WallpaperFactory.cpp
    desktop/WorldClockWindow.cpp
    res/solvane.rc
)
target_include_directories(solvane PRIVATE ${CMAKE_SOURCE_DIR}/res ${SOLVANE_GENERATED_DIR}/res)
set_source_files_properties(res/solvane.rc PROPERTIES
    OBJECT_DEPENDS ${SOLVANE_GENERATED_DIR}/res/splash.bmp)
target_link_libraries(solvane PRIVATE solvane_wallpaper solvane_almanac solvane_settings solvane_timesync solvane_location solvane_ui solvane_render ws2_32 shell32 wtsapi32)
add_custom_command(TARGET solvane POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:solvane> ${SOLVANE_DIST_DIR}/)

# The screen saver: the clock's Earth view in a full-screen window of its own.
add_executable(svsaver WIN32
    saver/main.cpp
    saver/PreviewWindow.cpp
    saver/SaverEarthView.cpp
    saver/ScreenSaverWindow.cpp
    saver/svsaver.rc
)
target_include_directories(svsaver PRIVATE ${CMAKE_SOURCE_DIR}/res ${SOLVANE_GENERATED_DIR}/res)
target_link_libraries(svsaver PRIVATE solvane_render)
set_target_properties(svsaver PROPERTIES SUFFIX ".scr")
set_source_files_properties(saver/svsaver.rc PROPERTIES
    OBJECT_DEPENDS "${SOLVANE_GENERATED_DIR}/res/saver_preview_105.bmp")
add_custom_command(TARGET svsaver POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:svsaver> ${SOLVANE_DIST_DIR}/)

target_sources(solvane-almanac PRIVATE platform/LocaleMonthNames.cpp res/manifest.rc)
add_custom_command(TARGET solvane-almanac POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:solvane-almanac> ${SOLVANE_DIST_DIR}/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SOLVANE_GENERATED_DIR}/cheby ${SOLVANE_DIST_DIR}/)

# The places databases beside the clock, renewed whenever the host build remakes them.
set(PLACES_DATABASES ${SOLVANE_DIST_DIR}/USPlaces.bin ${SOLVANE_DIST_DIR}/WorldPlaces.bin)
foreach(database ${PLACES_DATABASES})
    get_filename_component(name ${database} NAME)
    add_custom_command(
        OUTPUT ${database}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${SOLVANE_DIST_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SOLVANE_GENERATED_DIR}/${name} ${SOLVANE_DIST_DIR}/
        DEPENDS ${SOLVANE_GENERATED_DIR}/${name}
        COMMENT "Installing ${name}")
endforeach()
add_custom_target(places-databases ALL DEPENDS ${PLACES_DATABASES})

# The time servers offered by the Set Clock dialog.
configure_file(${CMAKE_SOURCE_DIR}/data/servers.txt ${SOLVANE_DIST_DIR}/servers.txt COPYONLY)

# Tests that need Windows: one binary, one wine start.
file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp)
add_executable(wine_tests ${WINE_TEST_SOURCES} saver/PreviewWindow.cpp desktop/DataPane.cpp desktop/OffscreenDib.cpp
                          tests/wine/wine_tests.rc)
target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/res ${SOLVANE_GENERATED_DIR}/res)
target_link_libraries(wine_tests PRIVATE solvane_wallpaper solvane_almanac solvane_timesync solvane_ui solvane_render psapi ole32 uuid gtest_main)
target_compile_definitions(wine_tests PRIVATE SOLVANE_VERSION_TEXT="${PROJECT_VERSION}")
add_dependencies(wine_tests solvane solvane-almanac solvane-render solvane-setclock svsaver SVShared)
add_test(NAME wine_tests COMMAND wine_tests)
set_tests_properties(wine_tests PROPERTIES ENVIRONMENT
    "SOLVANE_DIST_DIR=${SOLVANE_DIST_DIR};SOLVANE_SCREENSHOT_DIR=${CMAKE_SOURCE_DIR}/build/screenshots")
set_tests_properties(wine_tests PROPERTIES TIMEOUT 600 RESOURCE_LOCK time-port)
# The Set Clock dialog against xinetd's Time Protocol service.
add_test(NAME manifests COMMAND ${CMAKE_SOURCE_DIR}/tools/check-manifests.sh ${SOLVANE_DIST_DIR})
add_test(NAME time_server_e2e COMMAND ${CMAKE_SOURCE_DIR}/tools/time-server-e2e.sh $<TARGET_FILE:wine_tests>)
set_tests_properties(time_server_e2e PROPERTIES TIMEOUT 300 RESOURCE_LOCK time-port ENVIRONMENT
    "SOLVANE_DIST_DIR=${SOLVANE_DIST_DIR};SOLVANE_SCREENSHOT_DIR=${CMAKE_SOURCE_DIR}/build/screenshots")

# Benchmark of the renderer (make bench).
add_executable(render_bench EXCLUDE_FROM_ALL bench/render_bench.cpp bench/render_bench.rc)
target_include_directories(render_bench PRIVATE ${CMAKE_SOURCE_DIR}/res ${SOLVANE_GENERATED_DIR}/res)
target_link_libraries(render_bench PRIVATE solvane_almanac solvane_render psapi)
add_executable(timesync_bench EXCLUDE_FROM_ALL bench/timesync_bench.cpp tests/wine/TimeServerScript.cpp)
target_link_libraries(timesync_bench PRIVATE solvane_timesync)
add_executable(desktop_bench EXCLUDE_FROM_ALL bench/desktop_bench.cpp tests/wine/TrustStandIn.cpp)
target_link_libraries(desktop_bench PRIVATE solvane_platform psapi)

# The help pages: help/ copied whole to the install folder, again whenever one of its files changes.
file(GLOB_RECURSE HELP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
# The list of files, rewritten only when it changes, so that a removed file also renews the copy.
string(REPLACE ";" "\n" HELP_FILE_LIST "${HELP_FILES}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/help-files.txt CONTENT "${HELP_FILE_LIST}\n")
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/help.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${SOLVANE_DIST_DIR}/help
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${SOLVANE_DIST_DIR}/help
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/help.stamp
    DEPENDS ${HELP_FILES} ${CMAKE_BINARY_DIR}/help-files.txt
    COMMENT "Installing the help pages")
add_custom_target(help-pages ALL DEPENDS ${CMAKE_BINARY_DIR}/help.stamp)

# Setup's helper for the install folder: the installer runs it with its administrator rights
# from its own temporary folder, so it imports only libraries Windows always takes from the
# system (KnownDLLs), never from beside it.
add_executable(solvane-folder installer/folder_main.cpp installer/InstallFolderTakeOver_win32.cpp res/manifest.rc)
target_link_libraries(solvane-folder PRIVATE solvane_core advapi32 ntdll)
add_test(NAME folder_helper_imports COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports.sh $<TARGET_FILE:solvane-folder>)

# The installer, Solvane-Setup.exe, made by NSIS from the shipped files.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
    message(FATAL_ERROR "makensis not found: install the nsis package (make deps)")
endif()
set(SOLVANE_SETUP ${SOLVANE_DIST_DIR}/Solvane-Setup.exe)
# The files the installer writes into the install folder besides the help pages.
set(SOLVANE_SHIPPED_FILES solvane.exe solvane-setclock.exe SVShared.dll cheby servers.txt USPlaces.bin
                          WorldPlaces.bin solvane-almanac.exe solvane-render.exe)
set(SHIPPED_FILES_NSH ${CMAKE_BINARY_DIR}/shipped-files.nsh)
set(SHIPPED_FILES_LIST ${CMAKE_BINARY_DIR}/shipped-files.txt)
add_custom_command(
    OUTPUT ${SOLVANE_SETUP}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/installer/list-shipped.sh ${SOLVANE_DIST_DIR} ${SHIPPED_FILES_NSH}
            ${SHIPPED_FILES_LIST} ${SOLVANE_SHIPPED_FILES}
    COMMAND ${MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DDIST=${SOLVANE_DIST_DIR}
            -DICON=${SOLVANE_GENERATED_DIR}/res/solvane.ico -DSHIPPED_FILES=${SHIPPED_FILES_NSH}
            -DSHIPPED_LIST=${SHIPPED_FILES_LIST} -DFOLDER_HELPER=$<TARGET_FILE:solvane-folder>
            -DOUTFILE=${SOLVANE_SETUP} ${CMAKE_SOURCE_DIR}/installer/Solvane.nsi
    DEPENDS ${CMAKE_SOURCE_DIR}/installer/Solvane.nsi ${SOLVANE_GENERATED_DIR}/res/solvane.ico
            ${CMAKE_SOURCE_DIR}/tools/installer/list-shipped.sh
            solvane SVShared svsaver solvane-almanac solvane-render solvane-setclock solvane-folder
            $<TARGET_FILE:solvane> $<TARGET_FILE:SVShared> $<TARGET_FILE:svsaver>
            $<TARGET_FILE:solvane-almanac> $<TARGET_FILE:solvane-render> $<TARGET_FILE:solvane-setclock>
            $<TARGET_FILE:solvane-folder>
            ${PLACES_DATABASES} ${SOLVANE_DIST_DIR}/servers.txt
            ${SOLVANE_GENERATED_DIR}/cheby ${CMAKE_BINARY_DIR}/help.stamp
    COMMENT "Making the installer Solvane-Setup.exe")
add_custom_target(installer ALL DEPENDS ${SOLVANE_SETUP})
add_dependencies(installer places-databases help-pages)
# Install, run, upgrade and uninstall under wine, in a wine prefix of its own.
add_test(NAME installer COMMAND ${CMAKE_SOURCE_DIR}/tools/installer-test.sh $<TARGET_FILE:wine_tests> ${SOLVANE_SETUP})
set_tests_properties(installer PROPERTIES TIMEOUT 300 ENVIRONMENT
    "SOLVANE_DIST_DIR=${SOLVANE_DIST_DIR};SOLVANE_SCREENSHOT_DIR=${CMAKE_SOURCE_DIR}/build/screenshots")
