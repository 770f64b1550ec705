# Installing on Linux like a program of the desktop: the window program, a desktop entry
# with the drawing file types, the icon in the hicolor theme, the manual page made from
# the program's own help, and the Debian package (CPack; scripts/build-deb.sh).
if(TARGET plandown-gui)
  install(TARGETS plandown-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/linux/plandown.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/linux/plandown-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME plandown.xml)

  # The icon, drawn from the one SVG source.
  find_program(PLANDOWN_RSVG_CONVERT rsvg-convert)
  find_program(PLANDOWN_ICOTOOL icotool)
  if(PLANDOWN_RSVG_CONVERT AND PLANDOWN_ICOTOOL)
    set(icons ${CMAKE_BINARY_DIR}/icons)
    set(sizes 16 24 32 48 64 128 256)
    set(pngs)
    foreach(size ${sizes})
      list(APPEND pngs ${icons}/plandown-${size}.png)
      install(FILES ${icons}/plandown-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME plandown.png)
    endforeach()
    add_custom_command(OUTPUT ${pngs} ${icons}/plandown.ico
      COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-icons.sh ${CMAKE_SOURCE_DIR}/packaging/icons/plandown.svg ${icons}
      DEPENDS ${CMAKE_SOURCE_DIR}/packaging/icons/plandown.svg ${CMAKE_SOURCE_DIR}/scripts/make-icons.sh
      COMMENT "Making the icon from packaging/icons/plandown.svg")
    add_custom_target(plandown_icon ALL DEPENDS ${pngs})
    install(FILES packaging/icons/plandown.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  else()
    message(WARNING "rsvg-convert or icotool missing (scripts/setup.sh installs them): no icon is installed")
  endif()
endif()

# plandown(1) from `plandown --help` and `--version`, so that the page and the help agree.
# Not in the sanitizer and fuzzing builds, whose programs are for the tests only.
find_program(PLANDOWN_HELP2MAN help2man)
if(PLANDOWN_SANITIZE OR PLANDOWN_TSAN OR PLANDOWN_FUZZ)
elseif(PLANDOWN_HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
  set(page ${CMAKE_BINARY_DIR}/man/plandown.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${PLANDOWN_HELP2MAN} --no-info --no-discard-stderr
            --name "convert Jw_cad drawings to older versions"
            --include ${CMAKE_SOURCE_DIR}/packaging/linux/plandown.h2m
            --output ${page} $<TARGET_FILE:plandown>
    COMMAND gzip -9nf ${page}
    DEPENDS plandown ${CMAKE_SOURCE_DIR}/packaging/linux/plandown.h2m
    COMMENT "Making the manual page plandown(1)")
  add_custom_target(plandown_manpage ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man missing (scripts/setup.sh installs it): no manual page is made")
endif()

# The Debian package: `cpack -G DEB` in the build folder (scripts/build-deb.sh).
set(CPACK_PACKAGE_NAME plandown)
set(CPACK_PACKAGE_VENDOR "Plandown")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts Jw_cad drawings to older versions")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Converts Jw_cad drawings (JWW) and shapes (JWS) from generation 7.00 down to\n 6.00, 4.20, 3.51 or 3.00: a desktop application and a command line.")
set(CPACK_PACKAGE_CONTACT "Plandown developers <plandown@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The manual page is looked up through man-db's index; the icon and MIME caches are
# refreshed by dpkg's triggers of the packages that own them.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "man-db")
include(CPack)
