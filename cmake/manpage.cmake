# SPDX-License-Identifier: GPL-2.0-or-later
cmake_minimum_required(VERSION 3.25)
# Writes the manual page of a command from its own --help, so that the two
# never disagree:  cmake -DEXE=... -DNAME=... -DEXTRA=... -DDATE=... -DOUT=... -P manpage.cmake
# The help text has the usage lines ("Uso: ..."), a description, "Opzioni:"
# and "Stato di uscita:", separated by empty lines (cli::helpText()); EXTRA,
# when it exists, is troff appended as it stands (examples, files).
execute_process(COMMAND ${EXE} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT help MATCHES "^Uso: ")
  message(FATAL_ERROR "${NAME} --help: stato ${status}, nessun aiuto")
endif()
execute_process(COMMAND ${EXE} --version OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX REPLACE ".* " "" version "${version}")

function(troff_escape var text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

# Line by line: the usage lines, then the description's paragraphs, then
# the sections that a line "Titolo:" opens.
string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(synopsis "")
set(description "")
set(sections "")
set(section usage)
set(paragraph_open FALSE)
foreach(line IN LISTS lines)
  if(section STREQUAL "usage" AND line MATCHES "^Uso: (.*)$")
    troff_escape(text "${CMAKE_MATCH_1}")
    if(NOT synopsis STREQUAL "")
      string(APPEND synopsis ".br\n")
    endif()
    string(APPEND synopsis "${text}\n")
  elseif("${line}" STREQUAL "")
    if(section STREQUAL "usage")
      set(section description)
    elseif(section STREQUAL "description" AND paragraph_open)
      string(APPEND description ".PP\n")
      set(paragraph_open FALSE)
    endif()
  elseif(line MATCHES "^([A-Z][^:]*):$")
    set(section list)
    string(TOUPPER "${CMAKE_MATCH_1}" title)
    string(APPEND sections ".SH ${title}\n")
  elseif(section STREQUAL "list" AND line MATCHES "^ *([^ ]|[^ ].*[^ ])  +([^ ].*)$")
    troff_escape(term "${CMAKE_MATCH_1}")
    troff_escape(text "${CMAKE_MATCH_2}")
    string(REPLACE "-" "\\-" term "${term}")
    string(APPEND sections ".TP\n.B ${term}\n${text}\n")
  else()
    string(STRIP "${line}" line)
    troff_escape(text "${line}")
    if(section STREQUAL "list")
      string(APPEND sections "${text}\n")
    else()
      string(APPEND description "${text}\n")
      set(paragraph_open TRUE)
    endif()
  endif()
endforeach()
string(REGEX REPLACE "\\.PP\n$" "" description "${description}")

set(extra "")
if(EXTRA AND EXISTS "${EXTRA}")
  file(READ "${EXTRA}" extra)
endif()

# Every page carries the licence: at the end, or just before "VEDERE ANCHE"
# when the extra part has that section.
set(licence ".SH LICENZA
Copyright \\(co 2024\\-2026 Progetto Brevan.
.PP
Brevan è software libero: si può ridistribuire e modificare secondo i termini
della GNU General Public License, versione 2 o (a scelta) successiva.
È distribuito senza alcuna garanzia. Il testo della licenza è nel file
.B COPYING
dei sorgenti; sui sistemi Debian in
.IR /usr/share/common\\-licenses/GPL\\-2 .
")
string(FIND "${extra}" ".SH VEDERE ANCHE" see_also)
if(see_also GREATER_EQUAL 0)
  string(SUBSTRING "${extra}" 0 ${see_also} before)
  string(SUBSTRING "${extra}" ${see_also} -1 after)
  set(extra "${before}${licence}${after}")
else()
  string(APPEND extra "${licence}")
endif()

string(TOUPPER "${NAME}" upper)
file(WRITE "${OUT}"
".\\\" Scritta da cmake/manpage.cmake dall'aiuto del comando: non modificare a mano.
.TH ${upper} 1 \"${DATE}\" \"Brevan ${version}\" \"Comandi di Brevan\"
.SH NOME
${NAME} \\- ${SUMMARY}
.SH SINTESI
${synopsis}.SH DESCRIZIONE
${description}${sections}${extra}")
