# cmake -DRAILSCEN=PROGRAM -DHELP2MAN=help2man -DOUTPUT=railscen.1 -P man-page.cmake
# Writes railscen's manual page with help2man from the tool's own words: the name line and the
# options from railscen --help, the version from railscen --version, and a COMMANDS section
# holding each command's --help as the tool prints it.
execute_process(COMMAND ${RAILSCEN} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${RAILSCEN} --help failed (${status})")
endif()
string(REGEX MATCH "^railscen: ([^\n]*)" first_line "${help}")
set(summary "${CMAKE_MATCH_1}")
string(FIND "${help}" "\nSubcommands:\n" at)
if(at LESS 0 OR summary STREQUAL "")
  message(FATAL_ERROR "railscen --help has no summary line or no list of commands")
endif()
string(SUBSTRING "${help}" ${at} -1 listed)
string(REGEX MATCHALL "\n  [a-z]+ " names "${listed}")

# Roff: a backslash is written \e, a line starting with . or ' is kept from being a request,
# and a hyphen is a minus sign (\-) as in an option.
function(roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(include "[COMMANDS]\n")
string(APPEND include "Each command takes \\fB\\-\\-help\\fR; what it prints:\n")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND ${RAILSCEN} ${name} --help OUTPUT_VARIABLE command_help
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${RAILSCEN} ${name} --help failed (${status})")
  endif()
  roff("${command_help}" command_help)
  string(APPEND include ".SS ${name}\n.nf\n${command_help}.fi\n")
endforeach()
set(include_file ${OUTPUT}.h2m)
file(WRITE ${include_file} "${include}")

execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --name=${summary} --include=${include_file}
          --output=${OUTPUT} ${RAILSCEN}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed (${status})")
endif()
