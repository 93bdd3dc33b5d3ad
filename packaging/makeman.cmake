# Writes the kia-bench manual page from its own --help text, so the page
# cannot drift from the program. Called as
#   cmake -DBENCH=<kia-bench> -DOUT=<kia-bench.1> -DVERSION=<v> -P makeman.cmake
execute_process(COMMAND ${BENCH} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc
                ERROR_QUIET)
if(NOT rc EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "kia-bench --help failed (${rc})")
endif()
# roff: a backslash is \e; a line must not start with a dot or an apostrophe.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
file(WRITE ${OUT}
".TH KIA-BENCH 1 \"\" \"kia-bench ${VERSION}\" \"User Commands\"
.SH NAME
kia-bench \\- командная строка стенда ремонта плат блока управления ККМ
.SH DESCRIPTION
.nf
${help}.fi
.SH SEE ALSO
.BR kia_nelta2 (1)
")
