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

# Blocks separated by empty lines.
string(REPLACE "\n\n" "\x1f" blocks "${help}")
string(REPLACE ";" "\\;" blocks "${blocks}")
string(REPLACE "\x1f" ";" blocks "${blocks}")

set(synopsis "")
set(description "")
set(sections "")
foreach(block IN LISTS blocks)
  string(STRIP "${block}" block)
  if(block MATCHES "^Uso: ")
    string(REPLACE "Uso: " "" block "${block}")
    troff_escape(block "${block}")
    string(REPLACE "\n" "\n.br\n" block "${block}")
    string(APPEND synopsis "${block}\n")
  elseif(block MATCHES "^(Opzioni|Stato di uscita):\n")
    string(REGEX MATCH "^[^:]+" title "${block}")
    string(TOUPPER "${title}" title)
    string(REGEX REPLACE "^[^\n]*\n" "" block "${block}")
    string(REPLACE "\n" ";" lines "${block}")
    string(APPEND sections ".SH ${title}\n")
    foreach(line IN LISTS lines)
      string(STRIP "${line}" line)
      if(line MATCHES "^(.*[^ ])  +(.*)$")
        set(term "${CMAKE_MATCH_1}")
        set(text "${CMAKE_MATCH_2}")
        troff_escape(term "${term}")
        troff_escape(text "${text}")
        string(REPLACE "-" "\\-" term "${term}")
        string(APPEND sections ".TP\n.B ${term}\n${text}\n")
      else()
        troff_escape(line "${line}")
        string(APPEND sections "${line}\n")
      endif()
    endforeach()
  else()
    troff_escape(block "${block}")
    string(APPEND description "${block}\n.PP\n")
  endif()
endforeach()
string(REGEX REPLACE "\n\\.PP\n$" "\n" description "${description}")

set(extra "")
if(EXTRA AND EXISTS "${EXTRA}")
  file(READ "${EXTRA}" extra)
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
