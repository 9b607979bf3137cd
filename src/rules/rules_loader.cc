#include "rules/rules_loader.h"

#include <utility>
#include <vector>

#include "rules/rule_line.h"
#include "rules/rule_order.h"
#include "rules/scramble.h"

namespace vemba {

namespace {

constexpr std::string_view kHeaderMark = "<LANGUAGE";
constexpr std::string_view kCommentMark = "<!--";

enum class FileKind { kRules, kContents };

// What a line of a pack file is, tested in this order.
enum class LineKind { kOverLong, kEndMarker, kBlank, kComment, kHeader, kData };

// The kind of a line already freed of its line break.
LineKind classify(std::string_view line) {
  if (line.size() > kPackLineMax) return LineKind::kOverLong;
  if (line.starts_with(kEndMarker)) return LineKind::kEndMarker;
  const size_t first = line.find_first_not_of(" \t\n\v\f\r");
  if (first == std::string_view::npos) return LineKind::kBlank;
  if (line.substr(first).starts_with(kCommentMark)) return LineKind::kComment;
  return line.find(kHeaderMark) != std::string_view::npos ? LineKind::kHeader : LineKind::kData;
}

// Runs the section state machine of one file over its lines.
class SectionLoader {
 public:
  SectionLoader(FileKind kind, LoadReport& report, LanguageTable& table, const std::string& path,
                int language_id)
      : kind_(kind), report_(report), table_(table), path_(path), language_id_(language_id) {}

  // 1 on success, 0 on failure.
  int run(std::string_view stored) {
    const int limit = kind_ == FileKind::kRules ? kRulesFileLineLimit : kContentsFileLineLimit;
    int lines_read = 0;
    int physical_line = 0;
    bool continues = false;  // the last piece was cut from a longer line
    std::string piece;
    for (size_t pos = 0; pos < stored.size();) {
      const size_t length = next_piece_length(stored, pos);
      piece.assign(stored.substr(pos, length));
      pos += length;
      descramble_line(piece.data(), piece.size());
      if (!continues) ++physical_line;
      continues = piece.back() != '\n';
      report_.set_place(&path_, physical_line);
      if (++lines_read > limit) {
        report_.message(TTS_LL_WARN,
                        "WARNING !! File %s has more than %d lines. The rest is ignored",
                        path_.c_str(), limit);
        break;
      }
      std::string_view line = prepare(piece);
      LineKind line_kind = classify(line);
      if (line_kind == LineKind::kOverLong) {
        report_.message(TTS_LL_WARN,
                        kind_ == FileKind::kRules
                            ? "WARNING !! rule description too long. Check .ini file"
                            : "WARNING !! contents description too long. Check .ini file");
        continue;
      }
      if (line_kind == LineKind::kEndMarker) break;
      if (line_kind == LineKind::kBlank || line_kind == LineKind::kComment) continue;
      if (kind_ == FileKind::kRules) {
        // A CR inside a rules line ends it, and may cut off the header mark.
        line = line.substr(0, line.find('\r'));
        if (line_kind == LineKind::kHeader && line.find(kHeaderMark) == std::string_view::npos) {
          line_kind = LineKind::kData;
        }
      }
      if (line_kind == LineKind::kHeader) {
        if (!open_section(line)) return 0;
      } else {
        data_line(line);
      }
    }
    report_.set_place(&path_, 0);
    if (current_id_ == -1) {
      // Otherwise start-up would fail without a word on why.
      report_.message(TTS_LL_ERR, "ERROR !! No <LANGUAGE header in the file");
      return 0;
    }
    close_section();
    return 1;
  }

 private:
  std::string_view prepare(std::string_view raw) const {
    // Every later test sees the text up to a NUL byte.
    std::string_view line = raw.substr(0, raw.find('\0'));
    if (kind_ == FileKind::kContents) {
      size_t start = line.find_first_not_of("\r\n");
      if (start == std::string_view::npos) return {};
      line.remove_prefix(start);
      return line.substr(0, line.find_first_of("\r\n"));
    }
    if (line.ends_with('\n')) line.remove_suffix(1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
  }

  bool open_section(std::string_view header) {
    if (kind_ == FileKind::kRules) {
      close_section();
    } else if (current_id_ > 0) {
      // Contents of all sections build one list, attached to every record.
      close_section();
      return true;
    }
    current_id_ = language_id_;
    if (current_id_ == -1) {
      report_.message(TTS_LL_ERR, "ERROR !! Unable to identify language: %s",
                      std::string(header).c_str());
      return false;
    }
    rules_ = RuleListBuilder();
    contents_.clear();
    if (header.find('=') == std::string_view::npos) return true;
    if (language_id_ == 0) {
      report_.message(TTS_LL_ERR, "ERROR !! No such language exist: %s",
                      std::string(header).c_str());
      return false;
    }
    bool empty;
    if (kind_ == FileKind::kRules) {
      const std::vector<Rule>& earlier = table_.get_rules(language_id_);
      rules_ = RuleListBuilder(earlier);
      empty = earlier.empty();
    } else {
      contents_ = table_.get_contents(language_id_);
      empty = contents_.empty();
    }
    if (empty) {
      report_.message(TTS_LL_ERR, "ERROR !! No such language defined: %s",
                      std::string(header).c_str());
      return false;
    }
    return true;
  }

  // Stores the open section: a new record for rules, the working list on
  // every record of the language for contents.
  void close_section() {
    if (kind_ == FileKind::kRules) {
      if (current_id_ <= 0) return;
      LanguageRules record;
      record.language_id = current_id_;
      record.rule_list = rules_.take();
      table_.records().push_back(std::move(record));
      return;
    }
    for (LanguageRules& record : table_.records()) {
      if (record.language_id == current_id_) record.contents_list = contents_;
    }
  }

  void data_line(std::string_view line) {
    if (kind_ == FileKind::kRules) {
      if (!parse_rule_line(report_, line, rules_)) {
        report_.message(TTS_LL_ERR, "ERROR !! rule [%s] is not applyed.",
                        std::string(line).c_str());
      }
    } else if (!parse_contents_line(report_, line, contents_)) {
      report_.message(TTS_LL_ERR, "ERROR !! contents [%s] is not applyed.",
                      std::string(line).c_str());
    }
  }

  FileKind kind_;
  LoadReport& report_;
  LanguageTable& table_;
  const std::string& path_;
  int language_id_;
  int current_id_ = -1;
  RuleListBuilder rules_;
  std::vector<ContentsItem> contents_;
};

// Reads a pack file whole, up to what its line limit can use.
ReadStatus read_pack_file(FileSystem& fs, int line_limit, PackText* file) {
  if (!fs.exists(file->path)) return ReadStatus::kNotFound;
  const size_t max_bytes = static_cast<size_t>(line_limit + 1) * kLinePieceMax;
  return fs.read_file(file->path, &file->stored, max_bytes);
}

void report_unread(LoadReport& report, const std::string& path, ReadStatus status) {
  report.set_place(&path, 0);
  if (status == ReadStatus::kNotFound) {
    report.message(TTS_LL_ERR, "Unable to open file (%s)\n", path.c_str());
  } else {
    report.message(TTS_LL_ERR, "ERROR !! Unable to open .ini file - %s\n", path.c_str());
  }
}

}  // namespace

int load_rules(Log& log, LanguageTable& table, const PackText& rules, const PackText& contents,
               int language_id, int mode, LoadObserver* observer) {
  table.default_rule_index = -1;
  LoadReport report(log, observer);
  SectionLoader rules_loader(FileKind::kRules, report, table, rules.path, language_id);
  if (!rules_loader.run(rules.stored)) return 0;
  const std::vector<Rule>& loaded = table.get_rules(language_id);
  for (size_t i = 0; i < loaded.size(); ++i) {
    if (loaded[i].name == "DEFAULT") {
      table.default_rule_index = static_cast<int32_t>(i);
      break;
    }
  }
  if (mode != 1) return 1;
  SectionLoader contents_loader(FileKind::kContents, report, table, contents.path, language_id);
  return contents_loader.run(contents.stored);
}

int load_rules(FileSystem& fs, Log& log, LanguageTable& table, const std::string& rules_path,
               const std::string& contents_path, int language_id, int mode,
               LoadObserver* observer) {
  LoadReport report(log, observer);
  PackText rules{rules_path, {}};
  const ReadStatus rules_status = read_pack_file(fs, kRulesFileLineLimit, &rules);
  if (rules_status != ReadStatus::kOk) {
    table.default_rule_index = -1;
    report_unread(report, rules_path, rules_status);
    return 0;
  }
  PackText contents{contents_path, {}};
  const ReadStatus contents_status =
      mode == 1 ? read_pack_file(fs, kContentsFileLineLimit, &contents) : ReadStatus::kOk;
  if (contents_status == ReadStatus::kOk) {
    return load_rules(log, table, rules, contents, language_id, mode, observer);
  }
  // The rules are read, and their messages written, before the contents
  // file is found wanting.
  if (!load_rules(log, table, rules, contents, language_id, 0, observer)) return 0;
  report_unread(report, contents_path, contents_status);
  return 0;
}

}  // namespace vemba
