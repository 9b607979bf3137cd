// The per-kind handlers of the composer: each turns one matched value into
// builder text (prompt names separated by blanks).
#pragma once

#include <string>
#include <string_view>

#include "base/log.h"
#include "lang_en/announce.h"
#include "platform/clock.h"

namespace vemba {

/// What the request hands to every handler besides the value.
struct HandlerContext {
  Log& log;
  const Clock& clock;
  int64_t now = 0;  // the request's, for dates
  int mode = 0;
  std::string_view language_system_name;
};

/// The fields of an announcement value: how many there were and the first
/// seven as counts (missing ones 0).
struct AnnounceFields {
  int count = 0;
  AnnounceCounts counts;
};

/// Splits an announcement value at "|"; empty fields are not fields.
AnnounceFields split_announce(std::string_view value);

/// A money value as the money builder gets it: rewritten with six decimals
/// when it holds a ".", unchanged otherwise.
std::string money_value(std::string_view value);

/// Writes the builder text of a value of kind 2 to 10 into out (replaced).
/// Kinds without a handler leave out empty.
void run_handler(const HandlerContext& ctx, int32_t type, int option, std::string& out,
                 const std::string& value);

}  // namespace vemba
