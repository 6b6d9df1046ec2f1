# libFuzzer harnesses of the parsers of outside input (make fuzz; tools/run-fuzz.sh runs them).

set(FUZZ_TARGETS fuzz_cheby fuzz_options fuzz_almanac_args fuzz_render_args fuzz_usplaces
    fuzz_worldplaces fuzz_server_list fuzz_time_replies)
add_executable(fuzz_cheby tests/fuzz/FuzzCheby.cpp)
add_executable(fuzz_options tests/fuzz/FuzzOptions.cpp tests/host/OptionsTestDoubles.cpp)
add_executable(fuzz_almanac_args tests/fuzz/FuzzAlmanacArguments.cpp)
add_executable(fuzz_render_args tests/fuzz/FuzzRenderArguments.cpp)
add_executable(fuzz_usplaces tests/fuzz/FuzzUSPlaces.cpp)
add_executable(fuzz_worldplaces tests/fuzz/FuzzWorldPlaces.cpp)
add_executable(fuzz_server_list tests/fuzz/FuzzServerList.cpp)
add_executable(fuzz_time_replies tests/fuzz/FuzzTimeReplies.cpp)

target_include_directories(fuzz_options PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
# The options harness computes the clock with the small ephemeris of the cheby seeds.
target_compile_definitions(fuzz_options PRIVATE
    SOLVANE_FUZZ_CHEBY="${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/cheby/three-records")
foreach(target ${FUZZ_TARGETS})
    target_link_libraries(${target} PRIVATE solvane_cli)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()
