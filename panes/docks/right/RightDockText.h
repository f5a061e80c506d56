// Cutting the texts the right dock's lists read from the disc: records cut
// into lines, lines into '#'-separated fields. A missing piece reads as "".
#pragma once

#include <string>
#include <vector>

// text cut at each character of separators; empty pieces are kept.
std::vector<std::string> SplitText(const std::string& text, const char* separators);
// Piece index of text cut at separator; "" when it is missing.
std::string PieceOf(const std::string& text, char separator, size_t index);
// The decimal value of text when it is one (an optional '-' and digits), else fallback.
long NumberOr(const std::string& text, long fallback);
// The characters escaped in a row's label: the table's own, and the ones a
// cell or the slash markup reads as codes ('#', '/', braces, ':' and the
// backslash), which in a title (a program's statement "Put#", say) would end
// the row before its key or start markup, so that the row no longer parses.
extern const char kRowLabelEscapes[];
// The heading row of a set or a theme group: one cell in bold, then "#" and the link name.
std::string HeadingRow(const std::string& title, const std::string& link);
// A member row: an icon cell drawn by style, the label cell, then "#" and the link name.
std::string MemberRow(long style, const std::string& label, const std::string& link);
