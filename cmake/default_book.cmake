# The default opening book nork.book is built next to the programs (where the
# engine looks for it) from the game collection in data/, by the engine's own
# makebook command run at its console.
set(TORVEK_BOOK_GAMES ${CMAKE_SOURCE_DIR}/data/book_games.pgn)
set(TORVEK_BOOK ${CMAKE_BINARY_DIR}/nork.book)
# Black's good replies score below 50 % in master games, so the score floor
# is 40 %; five games keep one-off experiments out; 40 plies reach past every
# line the collection has five games of.
set(TORVEK_BOOK_OPTIONS "-mingame 5 -minscore 40 -maxply 40")
add_custom_command(
  OUTPUT ${TORVEK_BOOK}
  COMMAND ${CMAKE_COMMAND} -DENGINE=$<TARGET_FILE:torvek_uci> -DGAMES=${TORVEK_BOOK_GAMES}
          -DBOOK=${TORVEK_BOOK} -DOPTIONS=${TORVEK_BOOK_OPTIONS} -P ${CMAKE_SOURCE_DIR}/cmake/make_book.cmake
  DEPENDS torvek_uci ${TORVEK_BOOK_GAMES} ${CMAKE_SOURCE_DIR}/cmake/make_book.cmake
  COMMENT "Building the opening book nork.book from data/book_games.pgn"
  VERBATIM)
add_custom_target(default_book ALL DEPENDS ${TORVEK_BOOK})
