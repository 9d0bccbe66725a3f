# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the functions that Asyncify leaves as they are: every function of
# the leaf libraries (the numerics and the rules), which know nothing of the
# window, and the runtime beneath them. A function left out this way must
# never be on the stack while a box is open; the leaf libraries cannot be,
# because they include nothing from app/ or platform/ and take no callbacks
# (<functional>), and the build stops here if that ever changes. The one
# exception is the number format's ask (a plain function, in
# numerics/NumberText.h), which the page answers at once: the build stops
# unless its answer is a plain call into JavaScript (EM_JS), which never
# suspends.
#
# A function is named by what comes before its parameters, "name(*)*", so
# that the list needs no types. The build also stops when such a name
# is defined outside the leaf libraries too (a helper of the window in an
# anonymous namespace that happens to share a name with one of the numerics',
# say): that helper would be left out with it.
#
# Called as: cmake -DNM=... -DLEAVES="a.a|b.a" -DOTHERS="c.a|d.o|..."
#                  -DLEAF_SOURCES="x.cpp|x.h|..." -DWINDOW_SOURCE=WebForm.cpp
#                  -DOUTPUT=... -P asyncify-remove.cmake
cmake_minimum_required(VERSION 3.25)
foreach(list LEAVES OTHERS LEAF_SOURCES)
  string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()

foreach(source ${LEAF_SOURCES})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "[\"<](app/|platform/|functional)")
      message(FATAL_ERROR "${source} has '${line}': the leaf libraries are left out of "
                          "Asyncify's instrumentation and must never reach the window.")
    endif()
  endforeach()
endforeach()
file(STRINGS ${WINDOW_SOURCE} ask REGEX "^EM_[A-Z_]*JS\\([^,]*, *page_number_format *,")
if(NOT ask MATCHES "^EM_JS\\(")
  message(FATAL_ERROR "${WINDOW_SOURCE}: page_number_format must be a plain EM_JS call: the "
                      "number format is asked for from within the leaf libraries, which "
                      "Asyncify leaves as they are, so the answer must never suspend.")
endif()

# "name(*)*" for each function a list of archives and objects defines, by kind:
# strong (T, t) or weak (W, w, from inline functions in headers).
function(defined_functions files strong_out weak_out)
  set(strong "")
  set(weak "")
  foreach(file ${files})
    execute_process(COMMAND ${NM} -C --defined-only ${file}
                    OUTPUT_VARIABLE symbols RESULT_VARIABLE failed ERROR_QUIET)
    if(failed)
      message(FATAL_ERROR "${NM} could not read ${file}")
    endif()
    string(REPLACE ";" "\\;" symbols "${symbols}")
    string(REPLACE "\n" ";" symbols "${symbols}")
    foreach(line ${symbols})
      if(NOT line MATCHES "^[0-9a-f]+ ([TtWw]) (zirkulon::.*)$")
        continue()
      endif()
      set(kind ${CMAKE_MATCH_1})
      set(name "${CMAKE_MATCH_2}")
      # The name is everything before the parameter list that closes it.
      string(REGEX REPLACE "( const| &| &&|\\) noexcept)+$" ")" name "${name}")
      string(LENGTH "${name}" at)
      set(depth 0)
      while(at GREATER 0)
        math(EXPR at "${at} - 1")
        string(SUBSTRING "${name}" ${at} 1 c)
        if(c STREQUAL ")")
          math(EXPR depth "${depth} + 1")
        elseif(c STREQUAL "(")
          math(EXPR depth "${depth} - 1")
          if(depth EQUAL 0)
            break()
          endif()
        endif()
      endwhile()
      string(SUBSTRING "${name}" 0 ${at} name)
      # Only plain names (and operators) go on the list; a template with its
      # return type in front, say, stays instrumented, which is always safe.
      string(REPLACE "(anonymous namespace)" "anonymous_namespace" plain "${name}")
      if(NOT plain MATCHES "^[A-Za-z0-9_:~]+(operator[-+*/%<>=!]+)?$")
        continue()
      endif()
      if(kind MATCHES "[Tt]")
        list(APPEND strong "${name}(*)*")
      else()
        list(APPEND weak "${name}(*)*")
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES strong)
  list(REMOVE_DUPLICATES weak)
  set(${strong_out} "${strong}" PARENT_SCOPE)
  set(${weak_out} "${weak}" PARENT_SCOPE)
endfunction()

# Inline functions (weak) come from the leaf libraries' own headers, which the
# check above covers too; the window's code may share them.
defined_functions("${LEAVES}" leaf_strong leaf_weak)
defined_functions("${OTHERS}" other_strong other_weak)
set(leaf ${leaf_strong} ${leaf_weak})
list(REMOVE_DUPLICATES leaf)
foreach(name ${other_strong})
  if(name IN_LIST leaf)
    message(FATAL_ERROR "${name} is defined both in a leaf library and beside the window; "
                        "rename one of them, or Asyncify would leave the window's one out too.")
  endif()
endforeach()
list(SORT leaf)
# The runtime beneath: the standard library, the C library's printf and the
# compiler's helpers. The window's code hands none of them a callback that
# could open a box (no std::function, no algorithm with a handler in it).
list(APPEND leaf "std::*" "__*" "printf_core" "pop_arg" "operator new*")
list(LENGTH leaf count)
string(REPLACE ";" "\n" lines "${leaf}")
file(WRITE ${OUTPUT}.new "${lines}\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
message(STATUS "Asyncify leaves ${count} functions and patterns as they are")
