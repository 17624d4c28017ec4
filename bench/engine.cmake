# Engine benchmarks; the image database's lookups read the staged sample databases.
list(APPEND NUVELA_BENCH_SOURCES "${CMAKE_CURRENT_SOURCE_DIR}/engine_imagedb.cpp")
list(APPEND NUVELA_BENCH_LIBS nuvela_imagedb)
