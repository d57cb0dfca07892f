# Installation layout and the Debian package (scripts/package builds it with -DRAVELIN_PACKAGE=ON).
#
#   /usr/bin/ravelin
#   /usr/share/ravelin/{image,leaflet}/            map pictures and Leaflet, found by core/paths.h
#   /usr/share/applications/ravelin.desktop
#   /usr/share/icons/hicolor/{48x48,...,scalable}/apps/ravelin.{png,svg}
#   /usr/share/man/man1/ravelin.1.gz               made by help2man from --help and --version
#   /usr/share/doc/ravelin/{copyright,changelog.Debian.gz,examples/Serveur_config.INI}
#
# The configuration is never installed: it holds the database password (docs/installation.md).

option(RAVELIN_PACKAGE "Build the manual page and icons and set up cpack (needs help2man, rsvg-convert)" OFF)

include(GNUInstallDirs)
set(ravelin_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(ravelin_share ${CMAKE_INSTALL_DATADIR}/ravelin)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The build tree is laid out like a Windows folder: the resources beside the program, so that it
# runs from there as it will run installed.
set(ravelin_resource_dirs "")
set(ravelin_resource_copies "")
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/image)
  list(APPEND ravelin_resource_dirs ${PROJECT_SOURCE_DIR}/image image)
endif()
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/third_party/leaflet)
  list(APPEND ravelin_resource_dirs ${PROJECT_SOURCE_DIR}/third_party/leaflet leaflet)
endif()
while(ravelin_resource_dirs)
  list(POP_FRONT ravelin_resource_dirs source name)
  list(APPEND ravelin_resource_copies
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${source} $<TARGET_FILE_DIR:ravelin>/${name})
  install(DIRECTORY ${source}/ DESTINATION ${ravelin_share}/${name}
    PATTERN SHA256SUMS EXCLUDE PATTERN LICENSE EXCLUDE PATTERN README* EXCLUDE)
endwhile()
if(ravelin_resource_copies)
  add_custom_target(ravelin_resources ${ravelin_resource_copies} VERBATIM)
  add_dependencies(ravelin ravelin_resources)
endif()

install(TARGETS ravelin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ravelin_packaging}/ravelin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ravelin_packaging}/ravelin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ravelin_packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${ravelin_packaging}/Serveur_config.INI DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

if(NOT RAVELIN_PACKAGE)
  return()
endif()

find_program(HELP2MAN help2man REQUIRED)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)
set(generated ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${generated})

set(icon_outputs "")
foreach(size 48 64 128 256)
  file(MAKE_DIRECTORY ${generated}/icons/${size}x${size}/apps)
  set(png ${generated}/icons/${size}x${size}/apps/ravelin.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${ravelin_packaging}/ravelin.svg
    DEPENDS ${ravelin_packaging}/ravelin.svg VERBATIM)
  list(APPEND icon_outputs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# help2man runs the program, which needs no display for --help and --version. gzip -n leaves
# out the time stamp, so that two builds give the same bytes.
add_custom_command(OUTPUT ${generated}/ravelin.1.gz
  COMMAND ${HELP2MAN} --no-info --locale=C.UTF-8 --section=1 --source=Ravelin
          --include=${ravelin_packaging}/ravelin.1.include --output=${generated}/ravelin.1 $<TARGET_FILE:ravelin>
  COMMAND ${GZIP} -9nf ${generated}/ravelin.1
  DEPENDS ravelin ${ravelin_packaging}/ravelin.1.include VERBATIM)
add_custom_command(OUTPUT ${generated}/changelog.Debian.gz
  COMMAND ${GZIP} -9nc ${ravelin_packaging}/changelog > ${generated}/changelog.Debian.gz
  DEPENDS ${ravelin_packaging}/changelog)
add_custom_target(ravelin_package_files ALL
  DEPENDS ${icon_outputs} ${generated}/ravelin.1.gz ${generated}/changelog.Debian.gz)
install(FILES ${generated}/ravelin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravelin)
set(CPACK_PACKAGE_VERSION "${RAVELIN_VERSION_TEXT}${RAVELIN_BUILD_TEXT}")
set(CPACK_PACKAGE_CONTACT "Ravelin maintainers <maintainers@users.noreply.c-seed-03b18e0a.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wood trading management: lots, orders, chip deliveries, invoices")
set(CPACK_PACKAGE_DESCRIPTION
    "Ravelin manages a company that trades wood as timber and as energy: cutting
lots, logs and volume lines, log and firewood orders with delivery notes,
wood-chip deliveries and transport planning, stocks, invoices and credit
notes, contractor costs and analyses.

It is a desktop program in French for several workstations sharing one
MySQL or MariaDB database; the configuration file Serveur_config.INI names
the server (see /usr/share/doc/ravelin/examples).")
# Not stripped at install: cpack's Debian generator splits the symbols of the unstripped binary
# into the -dbgsym package (build-id path) and strips it itself (--strip-unneeded). Stripping
# first would leave it no symbols to split, and no .ddeb.
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${RAVELIN_PACKAGE_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The MySQL driver is a plugin that Qt loads at run time: dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-mysql")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mariadb-server")
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
