# Fuzz targets outside a fuzzing build: each target's source is linked with a small driver that
# runs its saved inputs once (the seeds and the inputs that once found a fault), so the normal and
# the sanitizer builds both compile the targets and replay their inputs as part of the suite.
#
# orbelle_fuzz_replay(name CORPUS dir LIBS target... [INCLUDES dir...]): name.cpp of the current
# folder, linked with the LIBS (whose own include folders, private ones too, are added, since
# fuzz targets reach into a library's internals), registered as the test fuzz_corpus.<name>.
#
# Targets that split their input with libFuzzer's header-only FuzzedDataProvider get it from
# clang's folder (Debian's libclang-rt-dev), copied alone into the build tree since clang's other
# headers there must not reach GCC; without it those targets are left out.
file(GLOB orbelle_clang_include_dirs /usr/lib/llvm-*/lib/clang/*/include)
find_file(ORBELLE_FUZZED_DATA_PROVIDER fuzzer/FuzzedDataProvider.h
  PATHS ${orbelle_clang_include_dirs} NO_DEFAULT_PATH)
if(ORBELLE_FUZZED_DATA_PROVIDER)
  set(ORBELLE_FUZZED_DATA_PROVIDER_DIR ${CMAKE_BINARY_DIR}/fuzz-include)
  configure_file(${ORBELLE_FUZZED_DATA_PROVIDER}
    ${ORBELLE_FUZZED_DATA_PROVIDER_DIR}/fuzzer/FuzzedDataProvider.h COPYONLY)
endif()

function(orbelle_fuzz_replay name)
  cmake_parse_arguments(arg "" "CORPUS" "LIBS;INCLUDES" ${ARGN})
  set(exe ${name}_replay)
  file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp source)
  string(FIND "${source}" "fuzzer/FuzzedDataProvider.h" uses_provider)
  if(NOT uses_provider EQUAL -1 AND NOT ORBELLE_FUZZED_DATA_PROVIDER_DIR)
    message(STATUS "${name}: no fuzzer/FuzzedDataProvider.h, its inputs are not replayed")
    return()
  endif()
  add_executable(${exe} ${name}.cpp ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
  if(NOT uses_provider EQUAL -1)
    target_include_directories(${exe} SYSTEM PRIVATE ${ORBELLE_FUZZED_DATA_PROVIDER_DIR})
  endif()
  foreach(lib IN LISTS arg_LIBS)
    if(TARGET ${lib})
      get_target_property(dirs ${lib} INCLUDE_DIRECTORIES)
      if(dirs)
        target_include_directories(${exe} PRIVATE ${dirs})
      endif()
    endif()
  endforeach()
  target_include_directories(${exe} PRIVATE ${arg_INCLUDES})
  target_link_libraries(${exe} PRIVATE ${arg_LIBS})
  add_test(NAME fuzz_corpus.${name} COMMAND ${exe} ${arg_CORPUS})
endfunction()
