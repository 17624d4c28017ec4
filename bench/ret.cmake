# ret-bench: drawing Retainer panels, against Qt's own gradient fill.
add_executable(ret-bench ${CMAKE_CURRENT_SOURCE_DIR}/ret_repaint.cpp)
target_link_libraries(ret-bench PRIVATE nuvela_bench_main Ret::ret)
