# The Windows package: a zip of Vemra.exe and vemra-cli.exe, a short README
# for Windows users and the sample data. `cpack` in a Windows build tree makes it.

install(TARGETS Vemra vemra-cli RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/windows-readme.txt DESTINATION . RENAME README.txt)
install(FILES ${PROJECT_SOURCE_DIR}/data/mrds-sample.csv DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(vemra_package_arch win64)
else()
    set(vemra_package_arch win32)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vemra)
set(CPACK_PACKAGE_VENDOR "The Vemra developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Vemra-${PROJECT_VERSION}-${vemra_package_arch})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Where the tests find the zip (CPack reuses its own variables for the
# source package).
set(VEMRA_PACKAGE_ZIP ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
