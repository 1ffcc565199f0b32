# What an installation holds, for scripts/install-printer.sh (cmake --install) and for the .deb
# that CPack builds: gui with its files, the backend, the PPD, the command and the desktop entry.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX / CACHE PATH "The installation's root" FORCE)
endif()
string(REGEX REPLACE "^/" "" GUI_INSTALL_DIR ${GUI_INSTALL_FOLDER})

install(TARGETS gui guicore guiqt guicups
  RUNTIME DESTINATION ${GUI_INSTALL_DIR} LIBRARY DESTINATION ${GUI_INSTALL_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/labels.txt DESTINATION ${GUI_INSTALL_DIR} OPTIONAL)
if(EXISTS ${CMAKE_SOURCE_DIR}/macros)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/macros DESTINATION ${GUI_INSTALL_DIR})
endif()
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/quentaris-queue.sh DESTINATION ${GUI_INSTALL_DIR})
# The scheduler runs a backend as root only when nobody but root may read or run it.
install(TARGETS quentaris DESTINATION usr/lib/cups/backend
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quentaris-pdf-printer.ppd DESTINATION usr/share/ppd/quentaris)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quentaris-pdf-printer.desktop
  DESTINATION usr/share/applications)
file(CREATE_LINK ${GUI_INSTALL_FOLDER}/gui ${CMAKE_BINARY_DIR}/quentaris-pdf-printer SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/quentaris-pdf-printer DESTINATION usr/bin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quentaris-pdf-printer)
set(CPACK_PACKAGE_VENDOR QUENTARIS)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QUENTARIS PDF Printer: a PostScript-to-PDF virtual printer")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "QUENTARIS")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "cups-daemon, cups-client, cups-filters, ghostscript, libcups2, libqt6widgets6, libqt6gui6, libqt6core6, libxcb1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_LIST_DIR}/debian/postinst ${CMAKE_CURRENT_LIST_DIR}/debian/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
