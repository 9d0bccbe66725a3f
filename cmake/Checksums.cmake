# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once the packages are made: SHA256SUMS in the folder they go
# to, in the form `sha256sum -c` reads.
set(sums "")
foreach(package ${CPACK_PACKAGE_FILES})
  file(SHA256 ${package} hash)
  get_filename_component(name ${package} NAME)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS "${sums}")
