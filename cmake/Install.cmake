# Install rules and the Debian package of the editor. Included from the
# top-level CMakeLists.txt after the editor's target exists.
if(PW_BUILD_GUI AND NOT TARGET pitchwright)
    message(WARNING "No pitchwright target: install rules and package skipped")
elseif(PW_BUILD_GUI)
    include(GNUInstallDirs)

    set(PW_APP_ID io.github.pitchwright.Pitchwright)
    set(PW_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)

    install(TARGETS pitchwright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PW_DIST_DIR}/${PW_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PW_DIST_DIR}/icons/hicolor/scalable/apps/${PW_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${PW_DIST_DIR}/${PW_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    if(UNIX AND NOT APPLE)
        # The MIME type of tactic files, so that a double click opens them here,
        # and the icon it names for them.
        install(FILES ${PW_DIST_DIR}/${PW_APP_ID}.mime.xml
                DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${PW_APP_ID}.xml)
        install(FILES ${PW_DIST_DIR}/icons/hicolor/scalable/mimetypes/${PW_APP_ID}-tactic.svg
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)

        # The man page and the changelog, compressed the way Debian ships them
        # (-n: no name or time stamp, so the package is reproducible).
        find_program(PW_GZIP gzip REQUIRED)
        set(pw_gzipped)
        foreach(pw_doc pitchwright.1 changelog)
            add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/${pw_doc}.gz
                COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
                COMMAND ${PW_GZIP} -9n -c ${PW_DIST_DIR}/${pw_doc} > ${CMAKE_BINARY_DIR}/dist/${pw_doc}.gz
                DEPENDS ${PW_DIST_DIR}/${pw_doc} VERBATIM)
            list(APPEND pw_gzipped ${CMAKE_BINARY_DIR}/dist/${pw_doc}.gz)
        endforeach()
        add_custom_target(pw_dist_docs ALL DEPENDS ${pw_gzipped})
        install(FILES ${CMAKE_BINARY_DIR}/dist/pitchwright.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        # A native package: its changelog is changelog.gz, beside the DEP-5 copyright.
        # The README, which the scrolling credits name for help.
        install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz ${PW_DIST_DIR}/copyright
                      ${PROJECT_SOURCE_DIR}/README.md
                DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pitchwright)
        # What lintian says of a maintainer without an address, said once.
        install(FILES ${PW_DIST_DIR}/lintian-overrides
                DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME pitchwright)
    endif()

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME pitchwright)
    set(CPACK_PACKAGE_VENDOR "Pitchwright team")
    # No address and no Homepage field: the project has no public home yet.
    set(CPACK_PACKAGE_CONTACT "Pitchwright team")
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor of CM 00/01 team tactic files")
    set(CPACK_PACKAGE_INSTALL_DIRECTORY pitchwright)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_STRIP_FILES ON)
    set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

    set(CPACK_DEBIAN_PACKAGE_NAME pitchwright)
    # <name>_<version>_<arch>.deb, as Debian names its own packages.
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pitchwright team")
    # A tool for a game's files, no game itself.
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The summary is the description's first line; this is the rest.
    set(CPACK_PACKAGE_DESCRIPTION
        "Pitchwright loads a team tactic (*.tct) of the football management game\n"
        "CM 00/01, draws its players on a pitch, lets you drag them and change\n"
        "their instructions, compares it with a second tactic and saves it back\n"
        "after a confirmation, keeping the previous file as a reserve copy.")
    string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")

    # The X11 platform plugin and the window's font are loaded at run time, so
    # no library scan finds them: they are always named.
    set(pw_runtime_depends "qt6-qpa-plugins, fonts-comic-neue, fonts-liberation")
    find_program(PW_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(PW_DPKG_SHLIBDEPS)
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "${pw_runtime_depends}")
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS
            "libqt6widgets6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6core6 (>= 6.2), ${pw_runtime_depends}")
    endif()

    include(CPack)
endif()
