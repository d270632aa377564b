# The fuzz targets and the seed corpus maker, on top of the program's libraries: for the
# fuzz project of this folder, and for the test tree when it is built with clang.
set(QM_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(qm_fuzz_support STATIC ${QM_FUZZ_DIR}/FuzzSupport.cpp)
set_target_properties(qm_fuzz_support PROPERTIES AUTOMOC OFF)
target_link_libraries(qm_fuzz_support PUBLIC qm_model)

# qm_fuzz(name source LIBS ...)
function(qm_fuzz name)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  list(TRANSFORM F_UNPARSED_ARGUMENTS PREPEND ${QM_FUZZ_DIR}/)
  add_executable(${name} ${F_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE qm_fuzz_support ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  list(APPEND QM_FUZZ_TARGETS ${name})
  set(QM_FUZZ_TARGETS ${QM_FUZZ_TARGETS} PARENT_SCOPE)
endfunction()

qm_fuzz(fuzz_map FuzzMap.cpp LIBS qm_editor qm_export qm_tiles qm_model)
# The same map target taking the whole, slower path; it shares fuzz_map's seeds.
qm_fuzz(fuzz_map_full FuzzMap.cpp LIBS qm_editor qm_export qm_tiles qm_model)
target_compile_definitions(fuzz_map_full PRIVATE QM_FUZZ_MAP_FULL=1)
qm_fuzz(fuzz_geoset FuzzGeoSet.cpp LIBS qm_geoset qm_editor qm_tiles qm_model)
# GeoSets and maps of the wrong size: refused whole or read whole, never mixed.
qm_fuzz(fuzz_open_over FuzzOpenOver.cpp LIBS qm_render qm_geoset qm_tiles qm_model)
qm_fuzz(fuzz_tileset FuzzTileset.cpp LIBS qm_tiles qm_model)
qm_fuzz(fuzz_render_args FuzzRenderArgs.cpp LIBS qm_render)
qm_fuzz(fuzz_tmx FuzzTmx.cpp LIBS qm_tiled)
qm_fuzz(fuzz_key FuzzKey.cpp LIBS qm_model)

# Seed corpora made by the project's own generator.
add_executable(make_fuzz_corpus ${QM_FUZZ_DIR}/MakeFuzzCorpusMain.cpp)
set_target_properties(make_fuzz_corpus PROPERTIES AUTOMOC OFF)
target_link_libraries(make_fuzz_corpus PRIVATE qm_fuzz_support)
target_link_libraries(make_fuzz_corpus PRIVATE ZLIB::ZLIB) # Tiled seeds with zlib and gzip layers
set_target_properties(make_fuzz_corpus PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_custom_target(fuzz_all DEPENDS ${QM_FUZZ_TARGETS} make_fuzz_corpus)
