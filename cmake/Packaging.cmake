# Debian packages of the "runtime" and "development" components (cpack -G DEB, see scripts/package.sh):
#   libqorvicsecommon<SOVERSION>  the shared library
#   libqorvicsecommon-dev         headers, link name, CMake package config, pkg-config file
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qorvicsecommon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Client library for CAD plug-ins working with the PDM system")
set(CPACK_PACKAGE_CONTACT "QorviCSECommon developers <qorvicsecommon@localhost>")
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libqorvicsecommon${QORVI_SOVERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
  "Client library that a CAD plug-in loads to work with the PDM system through its local integration service.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libqorvicsecommon-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "Headers, CMake package config and pkg-config file for building CAD plug-ins with QorviCSECommon (C++17).")

include(CPack)
