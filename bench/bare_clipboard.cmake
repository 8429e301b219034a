# bare_clipboard: a QWebEngineView that loads a URL on each clipboard change, the floor that
# copy_latency.py measures lexorra2's copy-to-request time against.
add_executable(bare_clipboard ${CMAKE_CURRENT_LIST_DIR}/bare_clipboard.cpp)
target_link_libraries(bare_clipboard PRIVATE Qt6::Widgets Qt6::WebEngineWidgets)

# copy_handler_bench: the program's own time from the clipboard notice to the navigation, in
# the real main window with a fake browser.
add_executable(copy_handler_bench ${CMAKE_CURRENT_LIST_DIR}/copy_handler_bench.cpp)
target_link_libraries(copy_handler_bench PRIVATE app test_support)

# clipboard_owner: takes the clipboard for copy_latency.py and tells when it did.
add_executable(clipboard_owner ${CMAKE_CURRENT_LIST_DIR}/clipboard_owner.cpp)
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
target_link_libraries(clipboard_owner PRIVATE PkgConfig::XCB)
# The xcb clipboard owner it shares with the tests' clipboard tool.
target_include_directories(clipboard_owner PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)

# window_ping: how long the window's event loop takes to answer, for endless_owner.py.
add_executable(window_ping ${CMAKE_CURRENT_LIST_DIR}/window_ping.cpp)
target_link_libraries(window_ping PRIVATE PkgConfig::XCB)
