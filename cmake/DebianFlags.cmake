# SPDX-License-Identifier: GPL-3.0-or-later
# The flags Debian builds its own packages with (dpkg-buildflags, with all of
# its hardening): fortified C library calls, the stack protector, relocations
# read-only and bound at start-up, and source paths relative to the source
# and build folders, so that the program's bytes do not depend on where it
# was built. Debian's -O2 comes after the build type's optimisation and wins.
find_program(ZIRKULON_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT ZIRKULON_DPKG_BUILDFLAGS)
  message(STATUS "No dpkg-buildflags: built without Debian's hardening flags")
  return()
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${ZIRKULON_DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(debian_${kind} UNIX_COMMAND "${flags}")
endforeach()
add_compile_options(${debian_CPPFLAGS} ${debian_CXXFLAGS}
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
add_link_options(${debian_LDFLAGS})
