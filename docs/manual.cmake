# Turns the README into one plain HTML page that needs nothing else: no style
# sheet, script or picture to fetch, the pictures of the window embedded, so
# that it reads the same from the build folder and from the installed docs.
#   cmake -DCMARK=cmark-gfm -DBASE64=base64 -DREADME=README.md
#         -DTEMPLATE=manual.html.in -DOUTPUT=manual.html -DVERSION=... -P manual.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMARK} --extension table --to html ${README}
                OUTPUT_VARIABLE body ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CMARK} failed on ${README}: ${errors}")
endif()

get_filename_component(root ${README} DIRECTORY)
string(REGEX MATCHALL "<img src=\"[^\"]+\\.png\"" pictures "${body}")
list(REMOVE_DUPLICATES pictures)
foreach(tag IN LISTS pictures)
  string(REGEX REPLACE "^<img src=\"(.*)\"$" "\\1" file "${tag}")
  execute_process(COMMAND ${BASE64} -w 0 ${root}/${file}
                  OUTPUT_VARIABLE data ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot embed ${file}: ${errors}")
  endif()
  string(REPLACE "${tag}" "<img src=\"data:image/png;base64,${data}\"" body "${body}")
endforeach()

file(READ ${TEMPLATE} page)
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@BODY@" "${body}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
