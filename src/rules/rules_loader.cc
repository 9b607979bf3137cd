#include "rules/rules_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/text_util.h"
#include "rules/rule_line.h"
#include "rules/rule_order.h"
#include "rules/scramble.h"
#include "rules/var_type.h"

namespace vemba {

namespace {

constexpr std::string_view kHeaderMark = "<LANGUAGE";
constexpr std::string_view kCommentMark = "<!--";

enum class FileKind { kRules, kContents };

// Where pattern (two bytes or more) first occurs in text at or after from, or
// npos. Many places are tried at once by the pattern's first two bytes: a
// library search costs about two instructions a byte on a rules file, whose
// tags all begin with the header mark's '<'.
size_t find_pattern(std::string_view text, size_t from, std::string_view pattern) {
  const char* p = text.data();
  size_t i = from;
  // Thirty-two places a step: two sets of sixteen, tested together.
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(pattern[0]);
  const __m128i second = _mm_set1_epi8(pattern[1]);
  auto load = [p](size_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at)); };
  for (; i + 33 <= text.size(); i += 32) {
    const __m128i low =
        _mm_and_si128(_mm_cmpeq_epi8(load(i), first), _mm_cmpeq_epi8(load(i + 1), second));
    const __m128i high =
        _mm_and_si128(_mm_cmpeq_epi8(load(i + 16), first), _mm_cmpeq_epi8(load(i + 17), second));
    if (_mm_movemask_epi8(_mm_or_si128(low, high)) == 0) continue;
#else
  typedef unsigned char Bytes16 __attribute__((vector_size(16)));
  const unsigned char first = static_cast<unsigned char>(pattern[0]);
  const unsigned char second = static_cast<unsigned char>(pattern[1]);
  for (; i + 33 <= text.size(); i += 32) {
    Bytes16 a[2];
    Bytes16 b[2];
    std::memcpy(a, p + i, 32);
    std::memcpy(b, p + i + 1, 32);
    const auto both = ((a[0] == first) & (b[0] == second)) | ((a[1] == first) & (b[1] == second));
    uint64_t halves[2];
    static_assert(sizeof(both) == sizeof(halves));
    std::memcpy(halves, &both, sizeof(halves));
    if ((halves[0] | halves[1]) == 0) continue;
#endif
    for (size_t j = i; j < i + 32; ++j) {
      if (text.substr(j).starts_with(pattern)) return j;
    }
  }
  return text.find(pattern, i);
}

// Reads the lines of a stored file one by one, all descrambled at the start.
// A physical line longer than the piece limit is read as several lines, each
// descrambled on its own, as the file was written.
class PackFileReader {
 public:
  explicit PackFileReader(std::string text) : text_(std::move(text)) {
    // Room for lines of about 40 bytes: growing the list line by line would
    // copy it a dozen times over a large pack.
    ends_.reserve(text_.size() / 40 + 16);
    descramble_pieces(text_, &ends_);
  }

  /// The next line as read (line break included), or false at the end.
  bool next(std::string_view* line) {
    if (index_ >= ends_.size()) return false;
    const size_t end = ends_[index_++];
    if (!continues_) ++physical_line_;
    *line = std::string_view(text_).substr(pos_, end - pos_);
    continues_ = text_[end - 1] != '\n';
    pos_ = end;
    return true;
  }
  /// Where c ('\0' or '\r') first occurs in line, one next() gave, or npos.
  size_t find_in_line(std::string_view line, char c) {
    return find(c == '\0' ? next_nul_ : next_cr_, line, std::string_view(&c, 1));
  }
  /// Whether line, one next() gave, holds the section header mark.
  bool has_header_mark(std::string_view line) {
    return find(next_header_, line, kHeaderMark) != std::string_view::npos;
  }
  int physical_line() const { return physical_line_; }
  /// Number of lines the file holds.
  size_t line_count() const { return ends_.size(); }

 private:
  std::string text_;
  std::vector<size_t> ends_;
  size_t index_ = 0;
  size_t pos_ = 0;
  int physical_line_ = 0;
  bool continues_ = false;
  // The first occurrence of a pattern at or after where it was last looked
  // for. Each pattern is searched for across the whole file, once per
  // occurrence rather than once per line: most files hold no NUL and no CR at
  // all, and one header among thousands of lines whose tags all begin with
  // '<'.
  struct NextOf {
    size_t at = 0;
    bool searched = false;
  };
  size_t find(NextOf& next, std::string_view line, std::string_view pattern) {
    const size_t begin = static_cast<size_t>(line.data() - text_.data());
    if (!next.searched || (next.at != std::string_view::npos && next.at < begin)) {
      next.at = pattern.size() == 1 ? std::string_view(text_).find(pattern[0], begin)
                                    : find_pattern(text_, begin, pattern);
      next.searched = true;
    }
    if (next.at == std::string_view::npos || next.at + pattern.size() > begin + line.size()) {
      return std::string_view::npos;
    }
    return next.at - begin;
  }
  NextOf next_nul_;
  NextOf next_cr_;
  NextOf next_header_;
};

// Reads a pack file whole, up to what the line limit can use.
bool read_pack_file(FileSystem& fs, LoadReport& report, const std::string& path, int line_limit,
                    std::string* text) {
  if (!fs.exists(path)) {
    report.message(TTS_LL_ERR, "Unable to open file (%s)\n", path.c_str());
    return false;
  }
  size_t max_bytes = static_cast<size_t>(line_limit + 1) * kLinePieceMax;
  switch (fs.read_file(path, text, max_bytes)) {
    case ReadStatus::kOk:
      return true;
    case ReadStatus::kNotFound:
      report.message(TTS_LL_ERR, "Unable to open file (%s)\n", path.c_str());
      return false;
    case ReadStatus::kUnreadable:
      break;
  }
  report.message(TTS_LL_ERR, "ERROR !! Unable to open .ini file - %s\n", path.c_str());
  return false;
}

// Runs the section state machine of one file over its lines.
class SectionLoader {
 public:
  SectionLoader(FileKind kind, LoadReport& report, LanguageTable& table, const std::string& path,
                int language_id)
      : kind_(kind), report_(report), table_(table), path_(path), language_id_(language_id) {}

  // 1 on success, 0 on failure.
  int run(PackFileReader& reader) {
    const int limit = kind_ == FileKind::kRules ? kRulesFileLineLimit : kContentsFileLineLimit;
    int lines_read = 0;
    if (kind_ == FileKind::kRules) rules_.reserve(std::min<size_t>(reader.line_count(), limit));
    std::string_view raw;
    while (reader.next(&raw)) {
      report_.set_place(&path_, reader.physical_line());
      if (++lines_read > limit) {
        report_.message(TTS_LL_WARN,
                        "WARNING !! File %s has more than %d lines. The rest is ignored",
                        path_.c_str(), limit);
        break;
      }
      std::string_view line = prepare(reader, raw);
      PackLineKind line_kind = classify_pack_line(line, reader.has_header_mark(line));
      if (line_kind == PackLineKind::kOverLong) {
        report_.message(TTS_LL_WARN,
                        kind_ == FileKind::kRules
                            ? "WARNING !! rule description too long. Check .ini file"
                            : "WARNING !! contents description too long. Check .ini file");
        continue;
      }
      if (line_kind == PackLineKind::kEndMarker) break;
      if (line_kind == PackLineKind::kBlank || line_kind == PackLineKind::kComment) continue;
      if (kind_ == FileKind::kRules) {
        // A CR inside a rules line ends it, and may cut off the header mark.
        size_t cr = reader.find_in_line(line, '\r');
        if (cr != std::string_view::npos) {
          line = line.substr(0, cr);
          if (line.find(kHeaderMark) == std::string_view::npos) line_kind = PackLineKind::kData;
        }
      }
      if (line_kind == PackLineKind::kHeader) {
        if (!open_section(line)) return 0;
      } else {
        data_line(line);
      }
    }
    report_.set_place(&path_, 0);
    if (current_id_ == -1) return 0;
    close_section();
    return 1;
  }

 private:
  std::string_view prepare(PackFileReader& reader, std::string_view raw) const {
    // Every later test sees the text up to a NUL byte.
    std::string_view line = raw.substr(0, reader.find_in_line(raw, '\0'));
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
    rules_.clear();
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
      if (!parse_rule_line(report_, line, rules_, &tags_)) {
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
  VarTypeMemo tags_;  // the tags of recent rule lines
  std::vector<ContentsItem> contents_;
};

int load_file(FileKind kind, FileSystem& fs, LoadReport& report, LanguageTable& table,
              const std::string& path, int language_id) {
  std::string text;
  int limit = kind == FileKind::kRules ? kRulesFileLineLimit : kContentsFileLineLimit;
  report.set_place(&path, 0);
  if (!read_pack_file(fs, report, path, limit, &text)) return 0;
  PackFileReader reader(std::move(text));
  SectionLoader loader(kind, report, table, path, language_id);
  return loader.run(reader);
}

}  // namespace

PackLineKind classify_pack_line(std::string_view line) {
  return classify_pack_line(line, line.find(kHeaderMark) != std::string_view::npos);
}

PackLineKind classify_pack_line(std::string_view line, bool has_header_mark) {
  if (line.size() > kPackLineMax) return PackLineKind::kOverLong;
  // Both marks begin with '<', which most lines do not: the first byte
  // spares the comparisons (every line of every request comes here).
  if (!line.empty() && line[0] == '<' && line.starts_with(kEndMarker)) {
    return PackLineKind::kEndMarker;
  }
  size_t first = 0;
  while (first < line.size() && is_space(line[first])) ++first;
  if (first == line.size()) return PackLineKind::kBlank;
  if (line[first] == '<' && line.substr(first).starts_with(kCommentMark)) {
    return PackLineKind::kComment;
  }
  return has_header_mark ? PackLineKind::kHeader : PackLineKind::kData;
}

int load_rules(FileSystem& fs, Log& log, LanguageTable& table, const std::string& rules_path,
               const std::string& contents_path, int language_id, int mode,
               LoadObserver* observer) {
  table.default_rule_index = -1;
  LoadReport report(log, observer);
  if (!load_file(FileKind::kRules, fs, report, table, rules_path, language_id)) return 0;
  const std::vector<Rule>& rules = table.get_rules(language_id);
  for (size_t i = 0; i < rules.size(); ++i) {
    if (rules[i].name == "DEFAULT") {
      table.default_rule_index = static_cast<int32_t>(i);
      break;
    }
  }
  if (mode == 1 && !load_file(FileKind::kContents, fs, report, table, contents_path, language_id)) {
    return 0;
  }
  return 1;
}

}  // namespace vemba
