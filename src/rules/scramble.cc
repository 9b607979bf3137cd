#include "rules/scramble.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace vemba {

namespace {

// Bytes the transform never touches: those whose shifted value would land on
// a line feed or NUL, and the line-structure bytes themselves.
constexpr bool kept(unsigned b, unsigned k) {
  unsigned shifted = (b + k + 10) & 0xFF;
  return shifted == 10 || shifted == 0 || b == '\n' || b == '\r' || b == 0;
}

// The transform of every byte at every position (mod 10), laid out flat:
// rules are loaded on every request, and each byte of the file goes through
// this.
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

// Built by the compiler: a request would otherwise spend a sixth of its
// instructions building them.
constexpr Tables kTables;

const Tables& tables() { return kTables; }

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

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

// What descrambling subtracts from 8 bytes that start at position k (mod 10).
struct Subtrahends {
  uint64_t word[10];
  Subtrahends() {
    for (unsigned k = 0; k < 10; ++k) {
      unsigned char bytes[8];
      for (unsigned j = 0; j < 8; ++j) bytes[j] = static_cast<unsigned char>(10 + (k + j) % 10);
      std::memcpy(&word[k], bytes, 8);
    }
  }
};

const Subtrahends& subtrahends() {
  static const Subtrahends instance;
  return instance;
}

// True when every byte lies in 14..236: none is one the transform keeps
// (NUL, LF, CR, and from 237 up those that would land on LF or NUL), so all
// simply move down.
inline bool all_plain(uint64_t x) {
  uint64_t below_14 = (x - kOnes * 14) & ~x & kHighs;
  uint64_t from_237 = x & ((x & ~kHighs) + kOnes * 19) & kHighs;
  return (below_14 | from_237) == 0;
}

// Subtracts byte by byte, without borrows between bytes.
inline uint64_t subtract_bytes(uint64_t x, uint64_t y) {
  return ((x | kHighs) - (y & ~kHighs)) ^ ((x ^ ~y) & kHighs);
}

}  // namespace

void descramble_line(char* data, size_t len) {
  // Eight bytes at a time while they are plain text; rules are loaded on every
  // request and every byte of the file passes through here.
  const Subtrahends& sub = subtrahends();
  size_t i = 0;
  unsigned k = 0;
  for (; i + 8 <= len; i += 8) {
    uint64_t x;
    std::memcpy(&x, data + i, 8);
    if (!all_plain(x)) break;
    x = subtract_bytes(x, sub.word[k]);
    std::memcpy(data + i, &x, 8);
    k = (k + 8) % 10;
  }
  // The rest byte by byte; the table rows follow the position in the line.
  const unsigned char* table = tables().plain;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(data);
  size_t row = 256 * k;
  for (; i < len; ++i) {
    bytes[i] = table[row + bytes[i]];
    row += 256;
    if (row == 10 * 256) row = 0;
  }
}

namespace {

// Sixteen bytes at a time, for the long runs of plain text in a line.
typedef unsigned char Bytes16 __attribute__((vector_size(16)));

// What descrambling subtracts from 16 bytes that start at position k (mod 10).
struct Subtrahends16 {
  Bytes16 bytes[10];
  Subtrahends16() {
    for (unsigned k = 0; k < 10; ++k) {
      for (unsigned j = 0; j < 16; ++j) bytes[k][j] = static_cast<unsigned char>(10 + (k + j) % 10);
    }
  }
};

const Subtrahends16& subtrahends16() {
  static const Subtrahends16 instance;
  return instance;
}

// How many of the 16 bytes, from the first, are plain text (see all_plain).
inline unsigned plain_prefix16(Bytes16 x) {
  const Bytes16 shifted = x - static_cast<unsigned char>(14);
  const auto in_range = shifted <= static_cast<unsigned char>(236 - 14);
  if constexpr (std::endian::native == std::endian::little) {
    uint64_t halves[2];
    static_assert(sizeof(in_range) == sizeof(halves));
    std::memcpy(halves, &in_range, sizeof(halves));
    if (halves[0] != ~uint64_t{0}) return static_cast<unsigned>(std::countr_one(halves[0])) / 8;
    return 8 + static_cast<unsigned>(std::countr_one(halves[1])) / 8;
  } else {
    unsigned n = 0;
    while (n < 16 && in_range[n] != 0) ++n;
    return n;
  }
}

constexpr Bytes16 kPositions = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

}  // namespace

void descramble_pieces(std::string& text, std::vector<size_t>* ends) {
  // The pieces are found while descrambling: a line feed is never plain
  // text, so the 16-byte steps stop before it and the byte step sees it.
  const Subtrahends16& sub16 = subtrahends16();
  const unsigned char* table = tables().plain;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(text.data());
  const size_t size = text.size();
  size_t i = 0;
  while (i < size) {
    const size_t limit = std::min(size, i + kLinePieceMax);
    unsigned k = 0;
    while (i < limit) {
      // The plain bytes at the front of the next 16 move down together; the
      // first other byte (usually the line feed) goes through the table. So
      // a line costs about one step per 16 bytes; only the last few bytes
      // of a piece go one by one.
      if (i + 16 <= limit) {
        Bytes16 x;
        std::memcpy(&x, bytes + i, 16);
        const unsigned plain = plain_prefix16(x);
        Bytes16 y = x - sub16.bytes[k];
        if (plain < 16) {
          const Bytes16 front =
              reinterpret_cast<Bytes16>(kPositions < static_cast<unsigned char>(plain));
          y = (y & front) | (x & ~front);
        }
        std::memcpy(bytes + i, &y, 16);
        i += plain;
        k += plain;  // below 26
        k = k >= 10 ? k - 10 : k;
        k = k >= 10 ? k - 10 : k;
        if (plain == 16) continue;
      }
      const unsigned char b = bytes[i];
      bytes[i++] = table[256 * k + b];
      k = k == 9 ? 0 : k + 1;
      if (b == '\n') break;
    }
    ends->push_back(i);
  }
}

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
