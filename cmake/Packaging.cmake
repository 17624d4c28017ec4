# make package: a .deb that apt installs on Debian 12 with its dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nuvela)
set(CPACK_PACKAGE_VENDOR "Nuvela")
set(CPACK_PACKAGE_CONTACT "Nuvela maintainers <maintainers@nuvela.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "greeting cards laid out as a newspaper front page")
set(CPACK_PACKAGE_DESCRIPTION
  "Nuvela turns a page template into a greeting card laid out as the front page
of a newspaper: a headline with a logo, pictures in frames, text columns,
shapes and a disclaimer line. Keep up to ten versions per template, preview,
save as JPEG, PNG, BMP or PDF and print. Also contains nuvela-render (pages
and template checks without a window), nuvela-imgdb (image databases) and the
panel library Ret.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.nuvela.example/")
# Libraries are found by dpkg-shlibdeps; fonts the templates name are not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-liberation2, culmus")
# Qt's own dialogs in the interface language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
