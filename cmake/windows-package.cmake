# The zip for Windows users: belvosta.exe and the German read-me, made by
#   cpack --config build/win32/CPackConfig.cmake -B build/win32/package
# The read-me goes out with Windows line ends and a byte order mark, so that Notepad on
# every Windows version shows it, umlauts included.
file(READ ${PROJECT_SOURCE_DIR}/docs/LIESMICH.txt BELVOSTA_README)
string(REPLACE "\r\n" "\n" BELVOSTA_README "${BELVOSTA_README}")
string(REPLACE "\n" "\r\n" BELVOSTA_README "${BELVOSTA_README}")
string(ASCII 239 187 191 BELVOSTA_BYTE_ORDER_MARK)
file(WRITE ${CMAKE_BINARY_DIR}/package/LIESMICH.txt
     "${BELVOSTA_BYTE_ORDER_MARK}${BELVOSTA_README}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/docs/LIESMICH.txt)
install(FILES ${CMAKE_BINARY_DIR}/package/LIESMICH.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(BELVOSTA_PACKAGE_ARCH win32)
else()
  set(BELVOSTA_PACKAGE_ARCH win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Belvosta)
set(CPACK_PACKAGE_VENDOR "Quirlant Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME belvosta-${PROJECT_VERSION}-${BELVOSTA_PACKAGE_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
