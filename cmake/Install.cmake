# What `cmake --install` puts beside the executable, and the Debian package made from it:
# the desktop entry, the icon in the hicolor theme, the AppStream data and the manual page.
# Included from the top level after the brevant target exists.

include(GNUInstallDirs)

set(BREVANT_APP_ID com.velmora.Brevant)
# Where the project's pages and docs/screenshot.png are published; the AppStream data names
# it as the home page and takes the screenshot from it.
set(BREVANT_HOMEPAGE "https://velmora.example/brevant/" CACHE STRING
    "Web address of the project's pages (ends with /); holds screenshot.png")

set(_desktop ${CMAKE_CURRENT_SOURCE_DIR}/res/desktop)
set(_images ${CMAKE_CURRENT_SOURCE_DIR}/res/images)
# The version comes from project() alone, as for `brevant --version`.
configure_file(${_desktop}/${BREVANT_APP_ID}.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/${BREVANT_APP_ID}.metainfo.xml @ONLY)
configure_file(${_desktop}/brevant.1.in ${CMAKE_CURRENT_BINARY_DIR}/brevant.1 @ONLY)

install(FILES ${_desktop}/${BREVANT_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${BREVANT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/brevant.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The program's icon, every size, into the hicolor theme's CONTEXT folders as NAME.
function(brevant_install_icon context name)
  install(FILES ${_images}/brevant.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context}
          RENAME ${name}.svg)
  foreach(_side 16 32 48 64 128 256)
    install(FILES ${_images}/brevant-${_side}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_side}x${_side}/${context}
            RENAME ${name}.png)
  endforeach()
endfunction()
brevant_install_icon(apps ${BREVANT_APP_ID})
# Scenario files (*.brevant): their type for shared-mime-info, shown with the program's
# icon under the name the type gives it.
set(BREVANT_SCENARIO_ICON application-x-brevant-scenario)
install(FILES ${_desktop}/${BREVANT_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${BREVANT_APP_ID}.xml)
brevant_install_icon(mimetypes ${BREVANT_SCENARIO_ICON})

# cpack -G DEB: the package's dependencies are read from the shared libraries the
# executable links (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME brevant)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "break-even-point simulator for small-business planning")
set(CPACK_PACKAGE_DESCRIPTION
    "Brevant works out the break-even point from the maximum sales, target sales, fixed\n"
    "costs and variable-cost ratio, and shows it in three charts, which can be dragged,\n"
    "saved as images or PDF, presented full-screen and made in bulk from a CSV file.\n"
    "The user interface is in Japanese. render, batch and calc run without a window.")
# The quoted lines above are joined into one text.
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT Velmora)
set(CPACK_PACKAGE_INSTALL_DIRECTORY brevant)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The chart text is drawn in IPAPGothic; the button pictures (SVG) and TIFF images come
# from Qt's image-format plugins, which the executable loads at run time, so shlibdeps
# cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, libqt6svg6, qt6-image-formats-plugins")
# Qt's Japanese catalogue (qtbase_ja.qm) for the toolkit's own dialogs: the colour and file
# dialogs and the message-box buttons. The program runs without it, with those few texts in
# English, so it is recommended (apt installs it by default), not required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BREVANT_HOMEPAGE})
set(CPACK_STRIP_FILES ON)
include(CPack)

if(BREVANT_TESTS)
  # Installs into a fresh prefix and runs the validators and man on what was installed, and
  # checks the fields of the Debian package cpack makes.
  add_test(NAME install_check
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/install_check.sh
                   ${CMAKE_CURRENT_BINARY_DIR} ${BREVANT_APP_ID} ${PROJECT_VERSION})
  set_tests_properties(install_check PROPERTIES LABELS core SKIP_RETURN_CODE 77)
endif()
