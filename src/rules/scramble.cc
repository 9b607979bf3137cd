#include "rules/scramble.h"

namespace vemba {

namespace {

// Bytes the transform never touches: those whose shifted value would land on
// a line feed or NUL, and the line-structure bytes themselves.
inline bool kept(unsigned b, unsigned k) {
  unsigned shifted = (b + k + 10) & 0xFF;
  return shifted == 10 || shifted == 0 || b == '\n' || b == '\r' || b == 0;
}

template <bool kScramble>
void transform(char* data, size_t len) {
  unsigned k = 0;
  for (size_t i = 0; i < len; ++i) {
    unsigned b = static_cast<unsigned char>(data[i]);
    if (!kept(b, k)) {
      unsigned out = kScramble ? b + 10 + k : b - 10 - k;
      data[i] = static_cast<char>(static_cast<unsigned char>(out & 0xFF));
    }
    if (++k == 10) k = 0;
  }
}

template <bool kScramble>
std::string transform_text(std::string_view text) {
  std::string out(text);
  for (size_t pos = 0; pos < out.size();) {
    size_t len = next_piece_length(out, pos);
    transform<kScramble>(out.data() + pos, len);
    pos += len;
  }
  return out;
}

}  // namespace

void descramble_line(char* data, size_t len) { transform<false>(data, len); }

void scramble_line(char* data, size_t len) { transform<true>(data, len); }

size_t next_piece_length(std::string_view text, size_t pos) {
  size_t rest = text.size() - pos;
  size_t window = rest < kLinePieceMax ? rest : kLinePieceMax;
  size_t lf = text.substr(pos, window).find('\n');
  return lf == std::string_view::npos ? window : lf + 1;
}

std::string descramble_text(std::string_view text) { return transform_text<false>(text); }

std::string scramble_text(std::string_view text) { return transform_text<true>(text); }

}  // namespace vemba
