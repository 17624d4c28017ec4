# Window benchmarks: starting the program and choosing a template.
list(APPEND NUVELA_BENCH_SOURCES "${CMAKE_CURRENT_SOURCE_DIR}/windows_main.cpp")
list(APPEND NUVELA_BENCH_LIBS nuvela_windows_main)
# The picture editor with a 24-megapixel photo.
list(APPEND NUVELA_BENCH_SOURCES "${CMAKE_CURRENT_SOURCE_DIR}/windows_picedit.cpp")
list(APPEND NUVELA_BENCH_LIBS nuvela_windows_picedit)
