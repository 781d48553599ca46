# The Windows programs as a user gets them: qireq.exe and qireq-ctl.exe in
# one folder with the Qt DLLs, the windows platform plugin, the Windows
# style and the MinGW runtime, packed by CPack as a .zip and as an NSIS
# setup program (Start-menu entry with the icon, uninstaller).
# scripts/windows-build.sh makes both:
#   cpack -G "ZIP;NSIS" --config build/windows/CPackConfig.cmake
if(NOT WIN32)
  return()
endif()

foreach(module Core Gui Widgets Network SerialPort)
  install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
# Loaded at run time, so no program names them: without the platform plugin
# the window cannot open; without the style the Fusion look is all there is.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
if(TARGET Qt6::QWindowsVistaStylePlugin)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
endif()

# The C++ runtime of the MinGW compiler the programs were built with.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE _qireq_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_qireq_dll}" OR NOT EXISTS "${_qireq_dll}")
    message(FATAL_ERROR "The MinGW runtime ${dll} was not found beside ${CMAKE_CXX_COMPILER}")
  endif()
  install(FILES ${_qireq_dll} DESTINATION .)
endforeach()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME qireq)
set(CPACK_PACKAGE_VENDOR "QIR Audio")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QIR-EQ: control program for DSP amplifiers and powered loudspeakers")
set(CPACK_PACKAGE_FILE_NAME qireq-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY QIR-EQ)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY QIR-EQ)
# The Start-menu entry: qireq.exe, shown as "QIR-EQ".
set(CPACK_PACKAGE_EXECUTABLES qireq QIR-EQ)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_PACKAGE_NAME "QIR-EQ ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "QIR-EQ ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/qireq.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/qireq.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME qireq.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit setup program for 64-bit programs: it installs into the 64-bit
# Program Files and runs where only 64-bit Windows programs run (Wine
# without its 32-bit part).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_URL_INFO_ABOUT "https://www.example.com/")
set(CPACK_STRIP_FILES ON)
# The setup program is named as such: qireq-<version>-win64-setup.exe.
set(_qireq_cpack_options ${PROJECT_BINARY_DIR}/QireqCPackOptions.cmake)
file(WRITE ${_qireq_cpack_options}
  "if(CPACK_GENERATOR STREQUAL \"NSIS\")\n"
  "  set(CPACK_PACKAGE_FILE_NAME \"\${CPACK_PACKAGE_FILE_NAME}-setup\")\n"
  "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${_qireq_cpack_options})
include(CPack)
