// Feeds arbitrary bytes to the rules loader as a stored rules file and
// contents file, and checks that what it loads holds together.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/log.h"
#include "memory_file_system.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/text_util.h"
#include "rules/rules_loader.h"

namespace {

// Separates the rules file from the contents file in the input.
constexpr std::string_view kSplit = "@@CONTENTS@@";

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// Every rule the loader accepts must be usable by the composer as it stands.
void check_rules(const vemba::LanguageTable& table, int id) {
  for (const vemba::LanguageRules& record : table.records()) {
    check(record.language_id == id && id > 0);
    for (const vemba::Rule& rule : record.rule_list) {
      check(!rule.name.empty() && rule.name.size() < 256);
      check(rule.name.find(' ') == std::string::npos);
      for (const vemba::VarValue& slot : rule.slots) check(slot.type != vemba::VAR_UNDEFINED);
      for (const vemba::RuleItem& item : rule.items) {
        bool fixed = item.text.find(".wav") + 4 == item.text.size();
        if (item.plural > 0) {
          check(item.depends_on >= 0 &&
                (static_cast<size_t>(item.depends_on) < rule.slots.size() || item.depends_on == 0));
        } else if (!fixed) {
          check(item.text[0] == '#');
          int slot = vemba::leading_int(std::string_view(item.text).substr(1));
          check(slot >= 1 && static_cast<size_t>(slot) <= rule.slots.size());
        }
      }
    }
    for (const vemba::ContentsItem& item : record.contents_list) {
      check(item.description.size() <= 254);
    }
  }
  const std::vector<vemba::Rule>& rules = table.get_rules(id);
  if (table.default_rule_index >= 0) {
    check(static_cast<size_t>(table.default_rule_index) < rules.size());
    check(rules[table.default_rule_index].name == "DEFAULT");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const int kIds[] = {1, 7, 0, -1};
  const int mode = data[0] & 1;
  const int id = kIds[(data[0] >> 1) & 3];
  std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t split = input.find(kSplit);

  vemba::MemoryFileSystem fs;
  fs.add_file("C:\\pack\\rules.dat", input.substr(0, split));
  if (split != std::string_view::npos) {
    fs.add_file("C:\\pack\\contents.dat", input.substr(split + kSplit.size()));
  }
  vemba::StringConsole console;
  vemba::FixedClock clock(0);
  vemba::Log log(console, clock);
  log.set_level(vemba::TTS_LL_VERB);
  vemba::LanguageTable table;
  int result =
      vemba::load_rules(fs, log, table, "C:\\pack\\rules.dat", "C:\\pack\\contents.dat", id, mode);
  check(result == 0 || result == 1);
  if (result == 1) check_rules(table, id);
  return 0;
}
