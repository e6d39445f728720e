# What `cmake --install` puts where, and the .deb that CPack makes of it
# (scripts/package). The page images go where PageImageFolder finds them.
include(GNUInstallDirs)

install(TARGETS corvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET tessaly)
    install(TARGETS tessaly RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The compiler's version notes go, as Debian's own packaging strips them.
find_program(OBJCOPY objcopy)
if(OBJCOPY)
    install(CODE "
        foreach(program corvel tessaly)
            set(path \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
            if(EXISTS \"\${path}\")
                execute_process(COMMAND ${OBJCOPY} --remove-section=.comment \"\${path}\")
            endif()
        endforeach()")
endif()
install(FILES ${IMG_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/tessaly/Img)

set(LINUX_DATA ${PROJECT_SOURCE_DIR}/data/linux)
install(FILES ${LINUX_DATA}/tessaly.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LINUX_DATA}/corvel.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME corvel)
install(FILES ${LINUX_DATA}/tessaly-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tessaly.xml)
install(FILES ${LINUX_DATA}/icons/tessaly.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(px 48 256)
    install(FILES ${LINUX_DATA}/icons/tessaly-${px}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${px}x${px}/apps RENAME tessaly.png)
endforeach()

# The manual page and the changelog go compressed, as Debian has them.
set(GZIPPED ${CMAKE_BINARY_DIR}/gzipped)
foreach(doc corvel.1 tessaly.1 changelog)
    add_custom_command(OUTPUT ${GZIPPED}/${doc}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${GZIPPED}
        COMMAND gzip -9n -c ${LINUX_DATA}/${doc} > ${GZIPPED}/${doc}.gz
        DEPENDS ${LINUX_DATA}/${doc})
endforeach()
add_custom_target(gzipped_docs ALL DEPENDS ${GZIPPED}/corvel.1.gz ${GZIPPED}/tessaly.1.gz ${GZIPPED}/changelog.gz)
install(FILES ${GZIPPED}/corvel.1.gz ${GZIPPED}/tessaly.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${GZIPPED}/changelog.gz ${LINUX_DATA}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessaly)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR Orvanel)
set(CPACK_PACKAGE_CONTACT "Tessaly developers <tessaly@orvanel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "inspector for MP4, MOV, ISMV and F4F media container files")
set(CPACK_PACKAGE_DESCRIPTION "Tessaly shows every box of an ISO base media file (MP4, M4A, MOV, 3GP,\n\
fragmented DASH and Smooth Streaming files, HDS fragments with FLV tags) with\n\
each field in decimal and hex, per-sample tables and a hex dump of the bytes.\n\
corvel, its command-line tool, prints the same pages, the box tree and the\n\
samples as text or JSON for scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The completion of corvel's commands and box paths; a font with Hangul for the caption
# of the About box's button.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion, fonts-nanum | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
