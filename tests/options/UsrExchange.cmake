# The tool's exchange of user words, run as a person would on the desktop: build a small
# language's vocabulary, import a word list into a new .usr, export it, import another list into
# it, and compare what the tool printed and wrote with what it must.
#   cmake -DTOOL=tessaline -DDATA=folder -DWORK=folder -P UsrExchange.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${DATA}/Mini.chr ${DATA}/Words.txt ${DATA}/More.txt DESTINATION ${WORK})

function(run expected)
  execute_process(COMMAND ${TOOL} ${ARGN} WORKING_DIRECTORY ${WORK}
                  OUTPUT_VARIABLE actual RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed with ${status}: ${ARGN}")
  endif()
  if(expected)
    file(READ ${DATA}/${expected} wanted)
    if(NOT actual STREQUAL wanted)
      message(FATAL_ERROR "output of ${ARGN} differs from ${expected}:\n${actual}")
    endif()
  endif()
endfunction()

run("" voc build --chr Mini.chr --words ${DATA}/Mini.words -o Mini.voc)
run(Words.import.txt usr import Words.txt --chr Mini.chr --usr Mini.usr)
run("" usr export Mini.usr --chr Mini.chr -o out.txt)
file(READ ${WORK}/out.txt written HEX)
file(READ ${DATA}/Words.export.txt wanted HEX)
if(NOT written STREQUAL wanted)
  message(FATAL_ERROR "exported file differs: ${written}")
endif()
run(More.import.json usr import More.txt --chr Mini.chr --usr Mini.usr --json)
if(EXISTS ${WORK}/Mini.usr.tmp)
  message(FATAL_ERROR "the temporary file was left behind")
endif()
