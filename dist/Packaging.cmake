# `make package` (or `cmake --build build --target package`): a Debian
# package of the programs and everything installed with them.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zk-h41)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The ZK-H41 programming tool authors")
set(CPACK_PACKAGE_CONTACT "The ZK-H41 programming tool authors <zk-h41@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming tool for the ZK-H41 two-way radio")
set(CPACK_PACKAGE_DESCRIPTION "A desktop tool for programming the ZK-H41, a 16-channel two-way radio,
over its serial programming cable: edit the channels (frequencies, CTCSS
and DCS tones, power, bandwidth) and five radio-wide settings, read them
from the radio, write them into it and keep them in .bc files.
.
With zk-h41-cli, the same from the command line, and zk-h41-sim, a
virtual radio for trying it without hardware.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZK_HOMEPAGE})
# Library dependencies as dpkg-shlibdeps finds them in the programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Stripped programs. (CPack's separate debug symbol package lists absolute
# build paths in its md5sums, which dpkg and lintian reject, so the symbols
# stay in the build tree.)
set(CPACK_STRIP_FILES ON)
# Folders owned by the system keep root's usual modes.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
