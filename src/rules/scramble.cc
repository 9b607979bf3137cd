#include "rules/scramble.h"

namespace vemba {

namespace {

// Bytes the transform never touches: those whose shifted value would land on
// a line feed or NUL, and the line-structure bytes themselves.
constexpr bool kept(unsigned b, unsigned k) {
  unsigned shifted = (b + k + 10) & 0xFF;
  return shifted == 10 || shifted == 0 || b == '\n' || b == '\r' || b == 0;
}

// The transform of every byte at every position (mod 10), one row of 256 per
// position, built by the compiler.
struct Tables {
  unsigned char plain[10 * 256] = {};
  unsigned char stored[10 * 256] = {};
  constexpr Tables() {
    for (unsigned k = 0; k < 10; ++k) {
      for (unsigned b = 0; b < 256; ++b) {
        bool keep = kept(b, k);
        plain[k * 256 + b] = static_cast<unsigned char>(keep ? b : (b - 10 - k) & 0xFF);
        stored[k * 256 + b] = static_cast<unsigned char>(keep ? b : (b + 10 + k) & 0xFF);
      }
    }
  }
};

constexpr Tables kTables;

void transform(const unsigned char* table, char* data, size_t len) {
  unsigned char* bytes = reinterpret_cast<unsigned char*>(data);
  size_t i = 0;
  for (; i + 10 <= len; i += 10) {
    for (size_t k = 0; k < 10; ++k) bytes[i + k] = table[256 * k + bytes[i + k]];
  }
  for (size_t k = 0; i < len; ++i, ++k) bytes[i] = table[256 * k + bytes[i]];
}

std::string transform_text(const unsigned char* table, std::string_view text) {
  std::string out(text);
  for (size_t pos = 0; pos < out.size();) {
    size_t len = next_piece_length(out, pos);
    transform(table, out.data() + pos, len);
    pos += len;
  }
  return out;
}

}  // namespace

void descramble_line(char* data, size_t len) { transform(kTables.plain, data, len); }

void scramble_line(char* data, size_t len) { transform(kTables.stored, data, len); }

size_t next_piece_length(std::string_view text, size_t pos) {
  size_t rest = text.size() - pos;
  size_t window = rest < kLinePieceMax ? rest : kLinePieceMax;
  size_t lf = text.substr(pos, window).find('\n');
  return lf == std::string_view::npos ? window : lf + 1;
}

std::string descramble_text(std::string_view text) { return transform_text(kTables.plain, text); }

std::string scramble_text(std::string_view text) { return transform_text(kTables.stored, text); }

}  // namespace vemba
