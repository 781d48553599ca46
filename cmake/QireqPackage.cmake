# The Debian package: the program and qireq-sim (installed by their own
# folders), the desktop entry, the icon, the AppStream entry and the manual
# page of qireq-sim, from data/. scripts/package.sh builds it:
#   cpack -G DEB --config <build>/CPackConfig.cmake
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

set(_qireq_data ${PROJECT_SOURCE_DIR}/data)
set(_qireq_id com.example.qireq)  # reverse-DNS of the homepage, as AppStream wants

install(FILES ${_qireq_data}/${_qireq_id}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_qireq_data}/${_qireq_id}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_qireq_data}/${_qireq_id}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages are installed compressed, as Debian keeps them; -n leaves the
# time out of the gzip header, so the same page gives the same bytes.
set(_qireq_man ${CMAKE_CURRENT_BINARY_DIR}/qireq-sim.1.gz)
add_custom_command(OUTPUT ${_qireq_man}
  COMMAND gzip -9nc ${_qireq_data}/qireq-sim.1 > ${_qireq_man}
  DEPENDS ${_qireq_data}/qireq-sim.1
  VERBATIM)
set(_qireq_ctl_man ${CMAKE_CURRENT_BINARY_DIR}/qireq-ctl.1.gz)
add_custom_command(OUTPUT ${_qireq_ctl_man}
  COMMAND gzip -9nc ${_qireq_data}/qireq-ctl.1 > ${_qireq_ctl_man}
  DEPENDS ${_qireq_data}/qireq-ctl.1
  VERBATIM)
add_custom_target(qireq_man_pages ALL DEPENDS ${_qireq_man} ${_qireq_ctl_man})
install(FILES ${_qireq_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_qireq_ctl_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qireq)
set(CPACK_PACKAGE_VENDOR "QIR Audio")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.example.com/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control program for DSP amplifiers and powered loudspeakers")
set(CPACK_PACKAGE_DESCRIPTION [[
QIR-EQ finds units (DSP amplifiers and powered loudspeakers) on USB, as
virtual serial ports, and on the local network, connects to one and edits
its Master EQ: five parametric bands, trim, bypass and reset, with a live
response plot. It renames units and keeps EQ settings in .bin preset files.
The package also holds qireq-ctl, a command-line companion for scripts
(discover units, read and set their EQ, push one preset to many units with
verified writes), and qireq-sim, a simulated unit for trying the program
without hardware.
.
Serial ports belong to the group dialout: a user who is not in it cannot
reach units on USB. Join it with "sudo usermod -aG dialout $USER" and log
in again.]])
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "QIR Audio <qireq@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # qireq_<version>_<arch>.deb
# dpkg-shlibdeps names the Qt, udev and C++ runtime packages from the
# binaries. The platform plugins (xcb and the others) are loaded at run time,
# so no library names them: without them the window cannot open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The preset dialogs' filter text "(bin文件)*.bin" holds two CJK characters,
# which show as empty boxes without a font that has them; this is a small one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-sawarabi-gothic")
set(CPACK_STRIP_FILES ON)
include(CPack)
