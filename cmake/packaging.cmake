# Installing on a freedesktop system and the Debian package.
include(GNUInstallDirs)

# One reverse-DNS id names the desktop entry, the icon and the AppStream data.
set(ZORIVKA_APP_ID cz.zorivka.Zorivka)
set(ZORIVKA_ICON_SIZES 16 22 24 32 48 64 128 256)

install(TARGETS zorivka RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(UNIX AND NOT APPLE)
    install(FILES data/${ZORIVKA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES data/${ZORIVKA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size IN LISTS ZORIVKA_ICON_SIZES)
        install(FILES data/icons/${size}/${ZORIVKA_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()

# data/icons is drawn with the program's other pictures: see tools/CMakeLists.txt.

# The licence, the changelog and the manual page, where Debian looks for them; the
# last two compressed without a name or a time stamp inside, so builds are repeatable.
if(UNIX AND NOT APPLE)
    set(ZORIVKA_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/zorivka)
    set(compressed)
    foreach(source changelog zorivka.1)
        set(output ${CMAKE_BINARY_DIR}/packaging/${source}.gz)
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
            COMMAND sh -c "gzip -9n -c '${CMAKE_SOURCE_DIR}/packaging/${source}' > '${output}'"
            DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${source}
            VERBATIM)
        list(APPEND compressed ${output})
    endforeach()
    add_custom_target(zorivka_package_docs ALL DEPENDS ${compressed})
    install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${ZORIVKA_DOCDIR})
    install(FILES ${CMAKE_BINARY_DIR}/packaging/zorivka.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorivka)
set(CPACK_PACKAGE_VENDOR Zorivka)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kalendář kulturních akcí")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zorivka <zorivka@zorivka.cz>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The long description only: the summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Jedna dlouhá tabulka s řádkem pro každý den od roku 2004, do níž se zapisují,
upravují, hledají a mažou akce jednotlivých dnů; vývoz do iCalendar a CSV.")
# The libraries it links (dpkg-shlibdeps), Qt's Czech dialogs and the window-system plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, qt6-qpa-plugins")
include(CPack)
