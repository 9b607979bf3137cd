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

/// What a line of a rules or contents file is, tested in this order.
enum class PackLineKind { kOverLong, kEndMarker, kBlank, kComment, kHeader, kData };

/// The kind of a line already freed of its line break.
PackLineKind classify_pack_line(std::string_view line);
/// The same, told whether line holds the section header mark "<LANGUAGE".
PackLineKind classify_pack_line(std::string_view line, bool has_header_mark);

/// Loads the rules file into table (and, when mode is 1, the contents file),
/// appending one record per language section. 1 when the language was
/// loaded, 0 otherwise; every reason is logged (and passed to observer when
/// given). Sets table.default_rule_index for the loaded language.
int load_rules(FileSystem& fs, Log& log, LanguageTable& table, const std::string& rules_path,
               const std::string& contents_path, int language_id, int mode,
               LoadObserver* observer = nullptr);

}  // namespace vemba
