# SPDX-License-Identifier: GPL-3.0-or-later
# Turns a text file into a C++ source defining `std::string_view FUNCTION()`
# in NAMESPACE, so that the data is part of the program and nothing is read
# at run time. Called as: cmake -DINPUT=... -DOUTPUT=... -DNAMESPACE=... -DFUNCTION=... -P Embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include <string_view>

namespace ${NAMESPACE} {
namespace {
constexpr char data[${size} + 1] = {
${bytes}
'\\0'};
} // namespace

std::string_view ${FUNCTION}() { return {data, ${size}}; }
} // namespace ${NAMESPACE}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
