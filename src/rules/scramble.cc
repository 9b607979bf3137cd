#include "rules/scramble.h"

namespace vemba {

namespace {

// Bytes the transform never touches: those whose shifted value would land on
// a line feed or NUL, and the line-structure bytes themselves.
inline bool kept(unsigned b, unsigned k) {
  unsigned shifted = (b + k + 10) & 0xFF;
  return shifted == 10 || shifted == 0 || b == '\n' || b == '\r' || b == 0;
}

// The transform of every byte at every position (mod 10), built once and
// laid out flat: rules are loaded on every request, and each byte of the file
// goes through this.
struct Tables {
  unsigned char plain[10 * 256];
  unsigned char stored[10 * 256];
  Tables() {
    for (unsigned k = 0; k < 10; ++k) {
      for (unsigned b = 0; b < 256; ++b) {
        bool keep = kept(b, k);
        plain[k * 256 + b] = static_cast<unsigned char>(keep ? b : (b - 10 - k) & 0xFF);
        stored[k * 256 + b] = static_cast<unsigned char>(keep ? b : (b + 10 + k) & 0xFF);
      }
    }
  }
};

const Tables& tables() {
  static const Tables instance;
  return instance;
}

template <bool kScramble>
void transform(char* data, size_t len) {
  const unsigned char* table = kScramble ? tables().stored : tables().plain;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(data);
  size_t row = 0;  // 256 * (position mod 10)
  for (size_t i = 0; i < len; ++i) {
    bytes[i] = table[row + bytes[i]];
    row += 256;
    if (row == 10 * 256) row = 0;
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
