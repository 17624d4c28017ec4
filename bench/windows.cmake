# Window benchmarks: starting the program, choosing a template, typing in the text editor.
list(APPEND NUVELA_BENCH_SOURCES "${CMAKE_CURRENT_SOURCE_DIR}/windows_main.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/windows_textedit.cpp")
list(APPEND NUVELA_BENCH_LIBS nuvela_windows_main)
# The picture editor with a 24-megapixel photo.
list(APPEND NUVELA_BENCH_SOURCES "${CMAKE_CURRENT_SOURCE_DIR}/windows_picedit.cpp")
list(APPEND NUVELA_BENCH_LIBS nuvela_windows_picedit)
