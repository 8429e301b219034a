# The Debian package: `cpack -G DEB` in the build folder makes lexorra2_<version>_<arch>.deb
# from what `cmake --install` puts in place. Its dependencies are found by dpkg-shlibdeps
# from the libraries the programs link, never listed by hand.
set(CPACK_PACKAGE_NAME lexorra2)
set(CPACK_PACKAGE_VENDOR "The Lexorra2 developers")
set(CPACK_PACKAGE_CONTACT "The Lexorra2 developers <maintainers@lexorra2.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lookup browser for Japanese readers")
# Lines of the long description stay within 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Lexorra2 takes every text copied to the clipboard, comes to the front and\n"
    "shows it looked up on the site chosen for the current category: a Japanese\n"
    "dictionary, English dictionaries, translation, an encyclopedia, web search,\n"
    "shops, maps, news and more. Pages open in tabs of an embedded browser.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY lexorra2)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${LEXORRA2_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The engine shows Japanese text; without a CJK font it draws boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
