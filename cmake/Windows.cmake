# The editor as a Windows program: its resource (icon and version
# information) and the rules that gather a self-contained folder with
# `cmake --install <build> --prefix <folder>`: the program, the Qt DLLs and
# plugins it loads, the compiler's runtime DLLs and the licences of all that.
# scripts/build-windows.sh packs that folder into the zip and the installer.

# The icon, packed from the PNGs the editor's build makes of the SVG.
function(pw_windows_resources target pngs)
    find_program(PW_IMAGEMAGICK convert REQUIRED)
    set(PW_WINDOWS_ICON ${CMAKE_CURRENT_BINARY_DIR}/icon/pitchwright.ico)
    add_custom_command(OUTPUT ${PW_WINDOWS_ICON}
        COMMAND ${PW_IMAGEMAGICK} ${pngs} ${PW_WINDOWS_ICON}
        DEPENDS ${pngs}
        COMMENT "Making the Windows icon from the SVG"
        VERBATIM)

    set(rc ${CMAKE_CURRENT_BINARY_DIR}/pitchwright.rc)
    configure_file(${PROJECT_SOURCE_DIR}/dist/windows/pitchwright.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${PW_WINDOWS_ICON})
    target_sources(${target} PRIVATE ${rc} ${PW_WINDOWS_ICON})
endfunction()

# The deploy folder. Exactly what the program loads: Qt's three DLLs, the
# platform plugin and the style plugin (the native look on Windows), and the
# runtime DLLs they and the program share. scripts/build-windows.sh checks
# the folder against the DLLs each file imports.
function(pw_windows_deploy_rules)
    install(TARGETS pitchwright RUNTIME DESTINATION .)
    foreach(module Core Gui Widgets)
        install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
    endforeach()
    install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
    install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

    foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
            install(FILES ${path} DESTINATION .)
        else()
            message(WARNING "The compiler's ${dll} was not found: the program folder lacks it")
        endif()
    endforeach()

    if(EXISTS ${PROJECT_SOURCE_DIR}/LICENSE)
        install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
    endif()
    # The help the credits and the installed programs' entry point to; .txt
    # opens in Notepad, which reads Markdown well enough.
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
    # Licences of what the folder bundles, beside the project's own. The
    # notes on Qt's source come with the Qt of scripts/build-qt-windows.sh.
    get_filename_component(qt_prefix ${Qt6_DIR}/../../.. ABSOLUTE)
    set(gcc_copyright /usr/share/doc/gcc-mingw-w64-base/copyright)
    set(mingw_copyright /usr/share/doc/mingw-w64-common/copyright)
    foreach(file ${qt_prefix}/LICENSE.LGPL3 ${qt_prefix}/LICENSE.GPL3 ${qt_prefix}/SOURCE
                 ${gcc_copyright} ${mingw_copyright})
        if(NOT EXISTS ${file})
            message(WARNING "${file} is missing: the program folder lacks licence notes "
                            "(scripts/build-windows.sh makes them)")
            return()
        endif()
    endforeach()
    file(READ ${qt_prefix}/SOURCE qt_source)
    string(STRIP "${qt_source}" qt_source)
    set(notes ${CMAKE_BINARY_DIR}/THIRD-PARTY.txt)
    file(WRITE ${notes}
        "Pitchwright ${PROJECT_VERSION} for Windows bundles:\n\n"
        "- Qt ${Qt6_VERSION} (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll,\n"
        "  styles\\qwindowsvistastyle.dll) under the GNU Lesser General Public License\n"
        "  version 3 (licenses\\Qt-LGPL-3.0.txt, which builds on licenses\\GPL-3.0.txt).\n"
        "  Its source is the ${qt_source}\n"
        "  scripts/build-qt-windows.sh of Pitchwright's source builds it again.\n"
        "  You may replace these DLLs with your own build of that Qt version.\n\n"
        "- The GCC runtime libraries (libgcc_s_seh-1.dll, libstdc++-6.dll) under the\n"
        "  GNU General Public License version 3 with the GCC Runtime Library\n"
        "  Exception, version 3.1 (licenses\\GCC-runtime.txt).\n\n"
        "- The winpthreads library of mingw-w64 (libwinpthread-1.dll), under the\n"
        "  MIT (Expat) licence (licenses\\mingw-w64.txt).\n")
    install(FILES ${notes} DESTINATION .)
    install(FILES ${qt_prefix}/LICENSE.LGPL3 DESTINATION licenses RENAME Qt-LGPL-3.0.txt)
    install(FILES ${qt_prefix}/LICENSE.GPL3 DESTINATION licenses RENAME GPL-3.0.txt)
    install(FILES ${gcc_copyright} DESTINATION licenses RENAME GCC-runtime.txt)
    install(FILES ${mingw_copyright} DESTINATION licenses RENAME mingw-w64.txt)
endfunction()
