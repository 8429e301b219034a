# proxy_switch_bench: how long a proxy change takes and which way the very next load goes.
add_executable(proxy_switch_bench ${CMAKE_CURRENT_LIST_DIR}/proxy_switch_bench.cpp)
target_link_libraries(proxy_switch_bench PRIVATE browser Qt6::Network)
