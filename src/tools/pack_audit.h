// vemba_pack audit CONFIG_DIR [--json]: what every prompt of a pack will
// sound like when the request program plays it, and what will go wrong.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "audio/prompt_measure.h"

namespace vemba {

/// A prompt is flagged when its active speech level lies more than this
/// from the pack's median, or its leading silence is longer than this.
constexpr double kLevelSpreadDb = 3;
constexpr double kLeadingSilenceMaxMs = 300;

/// One recording file of the language directory.
struct PackRecording {
  std::string name;   // the prompt name it plays for
  std::string file;   // its file name
  std::string bytes;  // its content
};

struct AuditFlag {
  std::string name;    // header, short, cut, clipped, missing (errors); level, lead
  std::string detail;  // the header mark, or the level's distance from the median
  bool error = false;  // errors make the audit fail, the others are warnings
};

struct AuditRow {
  std::string name;
  std::string file;  // "" for a missing prompt
  std::optional<PromptMeasures> measures;
  std::vector<AuditFlag> flags;
  bool has_error() const;
};

struct PackAudit {
  std::vector<AuditRow> rows;  // ordered by prompt name
  std::optional<double> median_level_dbm0;
  size_t recordings = 0, missing = 0, errors = 0, warnings = 0;  // errors, warnings: rows
};

/// Measures and flags each recording, and adds a "missing" row for each
/// name without one.
PackAudit audit_pack(const std::vector<PackRecording>& recordings,
                     const std::vector<std::string>& missing);

}  // namespace vemba
