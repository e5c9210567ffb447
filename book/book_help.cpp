// The text of "help book".
#include "book/makebook.h"
#include "core/output.h"

namespace torvek {

void print_book_help() {
  static const char* const kLines[] = {
      "\n\n\nTo create a book example:",
      "makebook -pgn book.pgn -book torvek.book -mingame 4 -maxply 20 -minscore 50",
      " will use book.pgn to create the bookfile torvek.book.",
      " Each move needs at least 4 games to be included in the book.",
      " The first 20 plies (10 first moves) in every game will be used for the book",
      " -minscore is a value between 0 and 100. 0 means all lost and 50 means even",
      " and finally 100 means all won.",
      " In this case only moves with the average result of draw or better ",
      " will be included in the book.",
      " NAGs can be used like 1.e4! a6? 2.d4!!  where:",
      " ! = often this move, !! = only this move, ? and ?? = never use this move",
      " If Torvek find a !! in play, no other moves will be considered but ",
      " if there are 2 or more !! from the same position one of the !! moves ",
      " will be used randomly. If Torvek find a ! in play, that move will be played",
      " more often than the other moves",
      " Learning will change the statistics but NAGs will never be touched",
      "",
      "makebook -pgn pgn/book.pgn -book c:/games/books/torvek.book white",
      " will make a book with only white-moves. ",
      " Default vaules -mingame=3, -maxply=9999, -minscore=50",
      " the parameter black can be used for black-moves only",
      "",
      "to merge 2 books example:",
      "mergebooks old1.book old2.book new.book ",
      " will merge old1.book and old2.book in order to create new.book  ",
      " if a move is in only one of them it will allways be included",
      " When a move is found in both old1 and old2 the sum will be used",
      " except if at least one of them is a NAG",
      " NAG always have precedence and !! over ! over ?",
      "",
      "bookmoves   will display all moves from current position with their values",
      "1000test\twill get 1000 book moves in current pos and present the reult",
  };
  for (const char* line : kLines) Print("%s", line);
}

}  // namespace torvek
