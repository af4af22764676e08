# Turns one scdoc manual page into roff and its gzip -9n copy, the form
# installed. Run by the build:
#   cmake -DSCDOC=... -DGZIP=... -DSOURCE=x.1.scd -DOUTPUT=x.1
#         -DVERSION=... -DDOCDIR=... -DEPOCH=... -P man.cmake
# A line "@include NAME@" takes the text of NAME, beside SOURCE: the two
# pages share their sections on the module.
cmake_minimum_required(VERSION 3.25)
get_filename_component(dir ${SOURCE} DIRECTORY)
file(READ ${SOURCE} text)
string(REGEX MATCHALL "@include [A-Za-z0-9.-]+@" includes "${text}")
foreach(line IN LISTS includes)
  string(REGEX REPLACE "^@include (.*)@$" "\\1" name "${line}")
  file(READ ${dir}/${name} part)
  string(STRIP "${part}" part)
  string(REPLACE "${line}" "${part}" text "${text}")
endforeach()
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" text "${text}")
string(REPLACE "@FTVB_DOCDIR@" "${DOCDIR}" text "${text}")
file(WRITE ${OUTPUT}.scd "${text}")

# scdoc dates the page from SOURCE_DATE_EPOCH: the release, not the build.
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
execute_process(COMMAND ${SCDOC} INPUT_FILE ${OUTPUT}.scd OUTPUT_FILE ${OUTPUT}
                ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "scdoc failed on ${SOURCE}: ${errors}")
endif()
execute_process(COMMAND ${GZIP} -9n -c ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${OUTPUT}")
endif()
