# bare_webengine: a plain QWebEngineView program, the yardstick for lexorra2's start-up and memory.
add_executable(bare_webengine ${CMAKE_CURRENT_LIST_DIR}/bare_webengine.cpp)
target_link_libraries(bare_webengine PRIVATE Qt6::Widgets Qt6::WebEngineWidgets)
