// The byte transform of stored rules and contents files. Every line is
// scrambled on its own, its position counter starting at 0; line breaks are
// never altered, so a stored file keeps its line structure.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vemba {

/// Longest piece of a physical line read as one line; longer lines are read
/// as several pieces, each with its own position counter.
constexpr size_t kLinePieceMax = 9999;

/// Turns len stored bytes of one line (line break included) into plain text,
/// in place.
void descramble_line(char* data, size_t len);

/// Turns len plain bytes of one line into the stored form, in place; the
/// inverse of descramble_line for printable ASCII and tabs.
void scramble_line(char* data, size_t len);

/// The length of the piece starting at pos, as the line reader takes it: up to
/// and including the next line feed, at most kLinePieceMax bytes.
size_t next_piece_length(std::string_view text, size_t pos);

/// Applies descramble_line (or scramble_line) to every piece of a whole file.
std::string descramble_text(std::string_view text);
std::string scramble_text(std::string_view text);

}  // namespace vemba
