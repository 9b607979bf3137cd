// Loading a language pack's rules file (and, in text mode, its contents file)
// into the language table.
#pragma once

#include <string>
#include <string_view>

#include "base/log.h"
#include "platform/file_system.h"
#include "rules/load_report.h"
#include "rules/rule_model.h"

namespace vemba {

/// Lines longer than this are skipped with a warning.
constexpr size_t kPackLineMax = 1022;
/// Lines read from a rules file; the rest is ignored with a warning.
constexpr int kRulesFileLineLimit = 5000;
/// Lines read from a contents file; the rest is ignored with a warning.
constexpr int kContentsFileLineLimit = 10000;
/// A line beginning with this ends the file.
constexpr std::string_view kEndMarker = "<!- EOF ->";

/// A pack file in its stored form, with the path its messages name.
struct PackText {
  std::string path;
  std::string stored;
};

/// Loads the rules into table (and, when mode is 1, the contents), appending
/// one record per language section. 1 when the language was loaded, 0
/// otherwise; every reason is logged (and passed to observer when given).
/// Sets table.default_rule_index for the loaded language.
int load_rules(Log& log, LanguageTable& table, const PackText& rules, const PackText& contents,
               int language_id, int mode, LoadObserver* observer = nullptr);

/// The same, reading the files; a file that is missing or unreadable when it
/// is needed fails the load with its message.
int load_rules(FileSystem& fs, Log& log, LanguageTable& table, const std::string& rules_path,
               const std::string& contents_path, int language_id, int mode,
               LoadObserver* observer = nullptr);

}  // namespace vemba
