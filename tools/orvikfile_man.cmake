# Makes the manual page of orvikfile from its usage texts: the overview of
# `orvikfile --help` and each command's `--help`, set as they are printed,
# then the sections that only the page has (ENVIRONMENT, EXAMPLES, SEE
# ALSO), from a text file in the overview's form.
#   cmake -DPROGRAM=path/to/orvikfile -DOUTPUT=orvikfile.1
#         -DSECTIONS=tools/orvikfile_man_sections.txt
#         [-DCHECKED_IN=tools/orvikfile.1] -P orvikfile_man.cmake
# With CHECKED_IN, fails when that page differs from the one made.

function(run_program out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} failed: ${status}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Text as troff sets it verbatim: backslashes and minus signs escaped, and
# no line taken for a request.
function(as_troff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  # (A regular expression's ^ matches again after each replacement.)
  string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" text "\n${text}")
  string(SUBSTRING "${text}" 1 -1 text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Sections as the overview writes them: a heading at the margin, its body
# indented by four, set as it is written. (A semicolon, CMake's list
# separator, is held as another byte while the text is a list of lines.)
function(append_sections text)
  string(ASCII 1 semicolon)
  string(REGEX REPLACE "\n$" "" text "${text}")
  string(REPLACE ";" "${semicolon}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(inBody OFF)
  foreach(line IN LISTS lines)
    string(REPLACE "${semicolon}" ";" line "${line}")
    if(line MATCHES "^[A-Z][A-Z ]*$")
      if(inBody)
        string(APPEND page ".fi\n")
      endif()
      string(APPEND page ".SH ${line}\n.nf\n")
      set(inBody ON)
    else()
      if(line MATCHES "^    ")
        string(SUBSTRING "${line}" 4 -1 line)
      endif()
      as_troff(line "${line}")
      string(APPEND page "${line}\n")
    endif()
  endforeach()
  string(APPEND page ".fi\n")
  set(page "${page}" PARENT_SCOPE)
endfunction()

run_program(overview --help)
set(page ".TH ORVIKFILE 1 \"\" \"OrvikFILE\" \"User Commands\"\n")
append_sections("${overview}")
string(APPEND page ".SH COMMANDS\n")

# The commands, in the order of the synopsis.
string(REGEX MATCHALL "\n    orvikfile [a-z][a-z-]*" commands "${overview}")
list(TRANSFORM commands REPLACE "\n    orvikfile " "")
list(REMOVE_DUPLICATES commands)
foreach(command IN LISTS commands)
  run_program(help ${command} --help)
  as_troff(help "${help}")
  string(APPEND page ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()

file(READ ${SECTIONS} sections)
append_sections("${sections}")

file(WRITE ${OUTPUT} "${page}")
if(CHECKED_IN)
  file(READ ${CHECKED_IN} checkedIn)
  if(NOT checkedIn STREQUAL page)
    message(FATAL_ERROR "${CHECKED_IN} does not match the program's usage texts; "
                        "copy ${OUTPUT} over it")
  endif()
endif()
