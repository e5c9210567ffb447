# Runs "makebook" in the engine at its console: cmake -DENGINE= -DGAMES=
# -DBOOK= -DOPTIONS= -P make_book.cmake. The names are given relative to the
# book's folder, since makebook takes a file name up to the next blank.
get_filename_component(book_dir ${BOOK} DIRECTORY)
get_filename_component(book_name ${BOOK} NAME)
file(RELATIVE_PATH games ${book_dir} ${GAMES})
if(games MATCHES " ")
  message(FATAL_ERROR "the path from ${book_dir} to ${GAMES} must not contain blanks")
endif()
set(script ${book_dir}/make_book.txt)
file(WRITE ${script} "makebook -pgn ${games} -book ${book_name} ${OPTIONS}\nquit\n")
execute_process(COMMAND ${ENGINE} WORKING_DIRECTORY ${book_dir} INPUT_FILE ${script}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
string(REGEX MATCH "[0-9]+ games read[^\n]*" summary "${output}")
if(NOT result EQUAL 0 OR NOT summary OR NOT EXISTS ${BOOK})
  message(FATAL_ERROR "makebook failed (${result}):\n${output}\n${errors}")
endif()
message(STATUS "${summary}")
