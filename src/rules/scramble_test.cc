#include "rules/scramble.h"

#include <gtest/gtest.h>

namespace vemba {
namespace {

std::string scrambled(std::string text) {
  scramble_line(text.data(), text.size());
  return text;
}

std::string descrambled(std::string text) {
  descramble_line(text.data(), text.size());
  return text;
}

TEST(Scramble, KnownBytes) {
  struct Case {
    std::string plain;
    std::string stored;
  } cases[] = {
      // Each byte moves up by 10 plus its position (mod 10) in the line.
      {"AAAAAAAAAAA", "KLMNOPQRSTK"},
      {"a\n", "k\n"},
      {"a\r\n", "k\r\n"},
      // Bytes whose shifted value would be LF or NUL stay as they are.
      {std::string("\xF6", 1), std::string("\xF6", 1)},    // 246 + 0 + 10 = 256
      {std::string("a\xF5", 2), std::string("k\xF5", 2)},  // 245 + 1 + 10 = 256
      {std::string(1, '\0'), std::string(1, '\0')},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scrambled(c.plain), c.stored) << c.plain;
    EXPECT_EQ(descrambled(c.stored), c.plain) << c.plain;
  }
}

TEST(Scramble, RoundTripOfPrintableTextAndTabsAtEveryPosition) {
  std::string plain;
  for (int k = 0; k < 10; ++k) {
    for (int c = 32; c < 127; ++c) plain += static_cast<char>(c);
    plain += '\t';
  }
  for (size_t shift = 0; shift < 10; ++shift) {
    std::string line = std::string(shift, 'x') + plain + "\r\n";
    std::string stored = scrambled(line);
    EXPECT_NE(stored.substr(0, plain.size()), line.substr(0, plain.size()));
    EXPECT_EQ(stored.substr(stored.size() - 2), "\r\n");
    EXPECT_EQ(descrambled(stored), line) << shift;
  }
}

// The transform as defined, byte by byte.
std::string descrambled_by_definition(std::string text) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned b = static_cast<unsigned char>(text[i]);
    unsigned k = i % 10;
    unsigned shifted = (b + k + 10) % 256;
    if (shifted == 10 || shifted == 0 || b == 10 || b == 13 || b == 0) continue;
    text[i] = static_cast<char>((b + 256 - 10 - k) % 256);
  }
  return text;
}

TEST(Scramble, DescrambleMatchesItsDefinitionForEveryByteAtEveryPosition) {
  for (int b = 0; b < 256; ++b) {
    for (size_t at = 0; at < 10; ++at) {
      std::string line(12, 'x');
      line[at] = static_cast<char>(b);
      ASSERT_EQ(descrambled(line), descrambled_by_definition(line)) << b << " at " << at;
    }
  }
}

TEST(Scramble, StoredBytesThatDescrambleToNul) {
  // 11 at position 1 becomes 0: the line ends there for the loader.
  EXPECT_EQ(descrambled(std::string("k\x0B", 2)), std::string("a\0", 2));
}

TEST(Scramble, PiecesRestartTheCounterAtEveryLineAndEvery9999Bytes) {
  EXPECT_EQ(scramble_text("AA\nAA"), "KL\nKL");
  std::string long_line(kLinePieceMax + 1, 'A');
  std::string stored = scramble_text(long_line);
  EXPECT_EQ(stored[kLinePieceMax - 1], 'A' + 10 + static_cast<int>((kLinePieceMax - 1) % 10));
  EXPECT_EQ(stored[kLinePieceMax], 'A' + 10);  // a new piece starts at 0
  EXPECT_EQ(descramble_text(stored), long_line);
}

TEST(Scramble, PieceLengths) {
  struct Case {
    std::string text;
    std::vector<size_t> pieces;
  } cases[] = {
      {"", {}},
      {"abc", {3}},
      {"a\nbc\n\n", {2, 3, 1}},
      {std::string(kLinePieceMax - 1, 'x') + "\n", {kLinePieceMax}},
      {std::string(kLinePieceMax, 'x') + "\n", {kLinePieceMax, 1}},
      {std::string(2 * kLinePieceMax + 5, 'x'), {kLinePieceMax, kLinePieceMax, 5}},
  };
  for (const Case& c : cases) {
    std::vector<size_t> got;
    for (size_t pos = 0; pos < c.text.size();) {
      got.push_back(next_piece_length(c.text, pos));
      pos += got.back();
    }
    EXPECT_EQ(got, c.pieces) << c.text.size();
  }
}

}  // namespace
}  // namespace vemba
