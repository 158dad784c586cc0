# Makes the dialog's sources from its template res/main_dlg.rc, so that no
# host can drift from the template: the C++ table the Linux host builds its
# dialog from and the page its controls, with its control count and the
# style bits it uses; and the names the template gives its controls (its
# #define lines) for every language that needs them, with the numbers of
# the ViewKey enum in view/view.h for the scripts, and the axes' names and
# their placing from view/internal.h for the page.
# Usage: cmake -DRC=res/main_dlg.rc [-DVIEW_H=view/view.h] [-DVIEW_INTERNAL_H=view/internal.h] OUTPUTS
#        -P dialog_table_and_names.cmake
# with any of these outputs:
#   -DTABLE_OUT=table.inc    the table MAIN_DLG and MAIN_DLG_CONTROLS
#   -DTABLE_H_OUT=table.h    CONTROL_COUNT and the style bits as TPL_ constants
#   -DNAMES_OUT=names.h      the names as C++ constants, and the push
#                            buttons (the commands) with their texts
#   -DMJS_OUT=names.mjs      the names and ViewKey as an ES module
#   -DJS_OUT=names.js -DJS_USERS=a.js,b.js
#                            the names and ViewKey that the scripts JS_USERS
#                            use, as a script of its own that the page loads
#                            before them
#   -DJS_VALUES_OUT=values.json (with JS_OUT)
#                            the view's AXIS_ values that those scripts use,
#                            which pack_page.js puts in place in them
# Only the forms that main_dlg.rc uses are understood; anything else stops
# the build rather than being guessed at.
cmake_minimum_required(VERSION 3.25)

# The style bits the template may use, as Windows defines them: the one
# table of them, which the C++ gets as TPL_ constants.
set(FLAG_WS_CHILD 0x40000000)
set(FLAG_WS_VISIBLE 0x10000000)
set(FLAG_WS_CAPTION 0x00C00000)
set(FLAG_WS_SYSMENU 0x00080000)
set(FLAG_WS_MINIMIZEBOX 0x00020000)
set(FLAG_WS_TABSTOP 0x00010000)
set(FLAG_WS_CLIPSIBLINGS 0x04000000)
set(FLAG_WS_CLIPCHILDREN 0x02000000)
set(FLAG_DS_SETFONT 0x40)
set(FLAG_ES_LEFT 0)
set(FLAG_ES_READONLY 0x800)
set(FLAG_BS_PUSHBUTTON 0)
set(FLAG_BS_AUTOCHECKBOX 3)
set(FLAG_BS_GROUPBOX 7)
set(FLAG_BS_TYPEMASK 0xF)
set(FLAG_SS_LEFT 0)
set(FLAG_SS_CENTERIMAGE 0x200)
set(FLAG_WS_EX_CLIENTEDGE 0x200)

function(flags_value expr out)
  string(REPLACE "|" ";" names "${expr}")
  set(value 0)
  foreach(name IN LISTS names)
    string(STRIP "${name}" name)
    if(NOT DEFINED FLAG_${name})
      message(FATAL_ERROR "dialog_table_and_names: unknown style ${name}")
    endif()
    math(EXPR value "${value} | ${FLAG_${name}}" OUTPUT_FORMAT HEXADECIMAL)
  endforeach()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

# An identifier as the template writes it: a number, a name, or a sum of
# names and products such as ID_ROW_VECTOR + 2 * ROW_STRIDE.
function(id_value expr out)
  string(REGEX MATCHALL "[A-Z_][A-Z0-9_]*|[0-9]+|[-+*]" tokens "${expr}")
  string(REPLACE " " "" bare "${expr}")
  string(REPLACE ";" "" joined "${tokens}")
  if(NOT joined STREQUAL bare)
    message(FATAL_ERROR "dialog_table_and_names: cannot read the identifier ${expr}")
  endif()
  set(arithmetic "")
  foreach(t IN LISTS tokens)
    if(t MATCHES "^[A-Z_]")
      if(NOT DEFINED NAME_${t})
        message(FATAL_ERROR "dialog_table_and_names: ${t} is not defined before its use")
      endif()
      set(t ${NAME_${t}})
    endif()
    string(APPEND arithmetic "${t}")
  endforeach()
  math(EXPR value "${arithmetic}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

file(STRINGS "${RC}" lines)
set(num "([0-9]+)")
set(sep " *, *")
# CMake's regular expressions take at most nine groups: the extended
# style, when there is one, is split off first.
set(control_re "^ *CONTROL +\"([^\"\\\\]*)\"${sep}([0-9A-Z_][0-9A-Z_ +*-]*)${sep}\"([A-Za-z]+)\"${sep}([A-Z_ |]+)${sep}${num}${sep}${num}${sep}${num}${sep}${num} *$")
set(rows "")
set(count 0)
set(names "")
set(commands "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#define +([A-Z_][A-Z0-9_]*) +${num} *$")
    if(DEFINED NAME_${CMAKE_MATCH_1})
      message(FATAL_ERROR "dialog_table_and_names: ${CMAKE_MATCH_1} is defined twice")
    endif()
    list(APPEND names ${CMAKE_MATCH_1})
    set(NAME_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
  elseif(line MATCHES "^#define")
    message(FATAL_ERROR "dialog_table_and_names: cannot read: ${line}")
  elseif(line MATCHES "^main_dlg +DIALOGEX +${num}${sep}${num}${sep}${num}${sep}${num} *$")
    set(dlg_x ${CMAKE_MATCH_1})
    set(dlg_y ${CMAKE_MATCH_2})
    set(dlg_w ${CMAKE_MATCH_3})
    set(dlg_h ${CMAKE_MATCH_4})
  elseif(line MATCHES "^STYLE +([A-Z_ |]+)$")
    flags_value("${CMAKE_MATCH_1}" dlg_style)
  elseif(line MATCHES "^CAPTION +\"([^\"\\\\]*)\"$")
    set(dlg_caption "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^FONT +${num}${sep}\"([^\"\\\\]*)\"")
    set(dlg_font_size ${CMAKE_MATCH_1})
    set(dlg_font "${CMAKE_MATCH_2}")
  elseif(line MATCHES "^ *CONTROL")
    set(exstyle_expr "")
    if(line MATCHES "^(.*[0-9]) *, *([A-Z_ |]+)$")
      set(line "${CMAKE_MATCH_1}")
      set(exstyle_expr "${CMAKE_MATCH_2}")
    endif()
    if(NOT line MATCHES "${control_re}")
      message(FATAL_ERROR "dialog_table_and_names: cannot read: ${line}")
    endif()
    set(text "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" id_expr)
    set(class "${CMAKE_MATCH_3}")
    set(style_expr "${CMAKE_MATCH_4}")
    set(x ${CMAKE_MATCH_5})
    set(y ${CMAKE_MATCH_6})
    set(w ${CMAKE_MATCH_7})
    set(h ${CMAKE_MATCH_8})
    id_value("${id_expr}" id)
    flags_value("${style_expr}" style)
    set(exstyle 0)
    if(NOT exstyle_expr STREQUAL "")
      flags_value("${exstyle_expr}" exstyle)
    endif()
    string(APPEND rows "    {${id}, \"${class}\", \"${text}\", ${x}, ${y}, ${w}, ${h}, ${style}, ${exstyle}},\n")
    math(EXPR count "${count} + 1")
    # A push button is a command, named by its text.
    math(EXPR button_type "${style} & 15")
    if(class STREQUAL "Button" AND button_type EQUAL 0)
      string(APPEND commands "    {${id_expr}, \"${text}\"},\n")
    endif()
  endif()
endforeach()

foreach(v dlg_x dlg_style dlg_caption dlg_font)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "dialog_table_and_names: no main_dlg header (${v}) in ${RC}")
  endif()
endforeach()

# The enum ViewKey's names and numbers, as view/view.h declares them.
set(view_keys "")
if(VIEW_H)
  file(READ "${VIEW_H}" header)
  if(NOT header MATCHES "enum class ViewKey[^{;]*{([^}]*)}")
    message(FATAL_ERROR "dialog_table_and_names: no enum class ViewKey in ${VIEW_H}")
  endif()
  string(REPLACE "," ";" enumerators "${CMAKE_MATCH_1}")
  set(next 0)
  foreach(e IN LISTS enumerators)
    string(STRIP "${e}" e)
    if(e STREQUAL "")
      continue()
    endif()
    if(e MATCHES "^([a-z_][a-z0-9_]*) *= *${num}$")
      set(e ${CMAKE_MATCH_1})
      set(next ${CMAKE_MATCH_2})
    elseif(NOT e MATCHES "^[a-z_][a-z0-9_]*$")
      message(FATAL_ERROR "dialog_table_and_names: cannot read the ViewKey enumerator ${e}")
    endif()
    list(APPEND view_keys "${e}: ${next}")
    math(EXPR next "${next} + 1")
  endforeach()
  list(JOIN view_keys ", " view_keys)
endif()

# The axes' values the page places and colours its names by, as
# view/internal.h defines them: its AXIS_ int constants, and AXIS_NAMES as
# [letter, "#rrggbb"] pairs, in JSON.
set(axis_values "")
if(VIEW_INTERNAL_H)
  file(READ "${VIEW_INTERNAL_H}" internal)
  string(REGEX MATCHALL "constexpr int AXIS_[A-Z_]+ = [0-9]+;" constants "${internal}")
  foreach(c IN LISTS constants)
    string(REGEX MATCH "(AXIS_[A-Z_]+) = ([0-9]+)" c "${c}")
    list(APPEND axis_values ${CMAKE_MATCH_1})
    set(AXIS_JS_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
  endforeach()
  string(REGEX MATCHALL "{'[a-z]', [0-9]+, [0-9]+, [0-9]+," entries "${internal}")
  set(pairs "")
  foreach(e IN LISTS entries)
    string(REGEX MATCH "'([a-z])', ([0-9]+), ([0-9]+), ([0-9]+)" e "${e}")
    # Over 0xffffff, so that the six digits keep their leading zeros.
    math(EXPR rgb "0x1000000 + (${CMAKE_MATCH_2} << 16) + (${CMAKE_MATCH_3} << 8) + ${CMAKE_MATCH_4}"
         OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${rgb}" 3 6 rgb)
    list(APPEND pairs "[\"${CMAKE_MATCH_1}\", \"#${rgb}\"]")
  endforeach()
  list(LENGTH pairs n)
  if(NOT n EQUAL 3)
    message(FATAL_ERROR "dialog_table_and_names: cannot read AXIS_NAMES in ${VIEW_INTERNAL_H}")
  endif()
  list(JOIN pairs ", " pairs)
  list(APPEND axis_values AXIS_NAMES)
  set(AXIS_JS_AXIS_NAMES "[${pairs}]")
endif()

# Writes `text` to `path` through a temporary file, leaving a file that
# already says the same untouched, so that nothing rebuilds for it.
function(write_output path text)
  file(WRITE "${path}.tmp" "${text}")
  file(COPY_FILE "${path}.tmp" "${path}" ONLY_IF_DIFFERENT)
  file(REMOVE "${path}.tmp")
endfunction()

set(from "res/main_dlg.rc")
if(VIEW_H)
  set(from "res/main_dlg.rc and view/view.h")
endif()
if(VIEW_INTERNAL_H)
  set(from "${from} and view/internal.h")
endif()
set(generated "Generated from ${from} by cmake/dialog_table_and_names.cmake; do not edit.")

if(TABLE_OUT)
  write_output("${TABLE_OUT}"
"// ${generated}
const TemplateDialog MAIN_DLG = {\"${dlg_caption}\", ${dlg_x}, ${dlg_y}, ${dlg_w}, ${dlg_h}, ${dlg_style}, \"${dlg_font}\", ${dlg_font_size}};
const TemplateControl MAIN_DLG_CONTROLS[${count}] = {
${rows}};
")
endif()

if(TABLE_H_OUT)
  get_cmake_property(variables VARIABLES)
  set(styles "")
  foreach(v IN LISTS variables)
    if(v MATCHES "^FLAG_(.*)$")
      string(APPEND styles "constexpr unsigned TPL_${CMAKE_MATCH_1} = ${${v}};\n")
    endif()
  endforeach()
  write_output("${TABLE_H_OUT}"
"// ${generated}
// The template's size and the style bits it may use, without <windows.h>.
#pragma once

constexpr int CONTROL_COUNT = ${count};
${styles}")
endif()

if(NAMES_OUT)
  set(constants "")
  foreach(n IN LISTS names)
    string(APPEND constants "constexpr int ${n} = ${NAME_${n}};\n")
  endforeach()
  write_output("${NAMES_OUT}"
"// ${generated}
// The names the dialog template gives its controls, and its push buttons,
// each a command, with the text it shows.
#pragma once

${constants}
struct CommandButton {
    unsigned id;
    const char* text;
};

inline constexpr CommandButton COMMAND_BUTTONS[] = {
${commands}};
")
endif()

if(MJS_OUT)
  set(exports "")
  foreach(n IN LISTS names)
    string(APPEND exports "export const ${n} = ${NAME_${n}};\n")
  endforeach()
  if(VIEW_H)
    string(APPEND exports "export const ViewKey = Object.freeze({${view_keys}});\n")
  endif()
  write_output("${MJS_OUT}" "// ${generated}\n${exports}")
endif()

# The page's scripts get the names they mention, and only those: a name of
# the template's kind that the template lacks stops the build here rather
# than the script in the browser.
if(JS_OUT)
  set(words "")
  string(REPLACE "," ";" JS_USERS "${JS_USERS}")
  foreach(user IN LISTS JS_USERS)
    file(READ "${user}" script)
    string(REGEX MATCHALL "[A-Za-z_$][A-Za-z0-9_$]*" used "${script}")
    list(APPEND words ${used})
    foreach(w IN LISTS used)
      if(w MATCHES "^ID_" AND NOT w IN_LIST names)
        message(FATAL_ERROR "dialog_table_and_names: ${user} uses ${w}, which ${RC} does not define")
      endif()
      if(w MATCHES "^AXIS_" AND (NOT w IN_LIST axis_values OR NOT JS_VALUES_OUT))
        message(FATAL_ERROR "dialog_table_and_names: ${user} uses ${w}, which no VIEW_INTERNAL_H with JS_VALUES_OUT gives")
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES words)
  set(declared "")
  foreach(n IN LISTS names)
    if(n IN_LIST words)
      string(APPEND declared "const ${n} = ${NAME_${n}};\n")
    endif()
  endforeach()
  if("ViewKey" IN_LIST words)
    if(NOT VIEW_H)
      message(FATAL_ERROR "dialog_table_and_names: a script uses ViewKey: give VIEW_H")
    endif()
    string(APPEND declared "const ViewKey = Object.freeze({${view_keys}});\n")
  endif()
  write_output("${JS_OUT}" "// ${generated}
// The names that the page's scripts use, loaded before them.
'use strict';
${declared}")
  if(JS_VALUES_OUT)
    set(used "")
    foreach(n IN LISTS axis_values)
      if(n IN_LIST words)
        list(APPEND used "\"${n}\": ${AXIS_JS_${n}}")
      endif()
    endforeach()
    list(JOIN used ",\n " used)
    write_output("${JS_VALUES_OUT}" "{${used}}\n")
  endif()
endif()
