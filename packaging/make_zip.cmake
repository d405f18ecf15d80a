# Makes the distribution zip: Harbek.exe and README.txt, nothing else.
# README.txt is written as UTF-8 with a byte-order mark and CRLF line ends, which Notepad on Japanese
# Windows reads as it should. Run as: cmake -DEXE=... -DREADME=... -DSTAGE=... -DZIP=... -P make_zip.cmake
foreach(var EXE README STAGE ZIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_zip.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY ${EXE} DESTINATION ${STAGE})

file(READ ${README} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE ${STAGE}/README.txt "${bom}${text}")

file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip Harbek.exe README.txt
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_zip.cmake: cmake -E tar failed (${result})")
endif()
