# Engine benchmarks: pages drawn and saved, store lookups, the keyed logo
# copy, and image database lookups in the staged sample databases.
list(APPEND NUVELA_BENCH_SOURCES
  "${CMAKE_CURRENT_SOURCE_DIR}/engine_page.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/engine_imagedb.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/engine_versions.cpp")
list(APPEND NUVELA_BENCH_LIBS nuvela_app nuvela_imagedb)
