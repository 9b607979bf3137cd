// Cost of loading generated rules files, with names that contain each other
// (TIME, TIME_AM, TIME_AM_2, ...) or 240-character names sharing a prefix,
// and of building rule lists whose names are hard on the name index.
#include <benchmark/benchmark.h>

#include <string>

#include "base/log.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "rules/rule_order.h"
#include "rules/rules_loader.h"
#include "rules/scramble.h"

namespace {

// The i-th rule name: chains of five names, each containing the one before,
// and chain numbers that contain each other too (T1 in T12, T12 in T123).
std::string rule_name(int i) {
  static const char* kSuffixes[] = {"", "_AM", "_AM_2", "_AM_2_X", "_AM_2_X_LONG"};
  return "TIME" + std::to_string(i / 5) + kSuffixes[i % 5];
}

// Rule lines of the shapes a pack uses, from short to long; about 50
// characters on average, like the lines of a real pack.
constexpr const char* kRuleBodies[] = {
    " <VAR_TIME>: the_time_is.wav #1",
    " <VAR_NUMBER_EN>: you_have.wav #1 message.wav/messages.wav/1",
    " <VAR_SPELL|1>: #1",
    " <VAR_TIME|1> <VAR_NUMBER_EN>: at.wav #1 minute.wav/minutes.wav/2",
};

// Names of 240 characters that share all but their last four.
std::string long_name(int i) {
  std::string number = std::to_string(10000 + i).substr(1);
  return std::string(240 - number.size(), 'N') + number;
}

// A plain rules file with a header and n lines (the last one DEFAULT).
std::string rules_text(int n, std::string (*name)(int) = rule_name) {
  std::string text = "<LANGUAGE ENGLISH>\n";
  for (int i = 0; i < n - 2; ++i) text += name(i) + kRuleBodies[i % 4] + "\n";
  text += "DEFAULT <VAR_SPELL>: #1\n";
  return text;
}

void load_rules_file(benchmark::State& state, const std::string& plain) {
  const vemba::PackText rules{"rules.dat", vemba::scramble_text(plain)};
  const vemba::PackText contents{"contents.dat", ""};
  vemba::StringConsole console;
  vemba::FixedClock clock(0);
  vemba::Log log(console, clock);
  for (auto _ : state) {
    vemba::LanguageTable table;
    int loaded = vemba::load_rules(log, table, rules, contents, 1, 0);
    if (loaded != 1 || table.default_rule_index < 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(table);
  }
  state.SetComplexityN(state.range(0));
}

void BM_LoadRules(benchmark::State& state) {
  load_rules_file(state, rules_text(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_LoadRules)->Arg(100)->Arg(1000)->Arg(5000)->Complexity();

void BM_LoadLongNames(benchmark::State& state) {
  load_rules_file(state, rules_text(static_cast<int>(state.range(0)), long_name));
}
BENCHMARK(BM_LoadLongNames)->Arg(5000);

// Name shapes that are hard on a name index: 1,000-character names sharing
// all but their ends, names sharing long prefixes in no useful order, and
// short names occurring in every later name. The time per name should stay
// about the same as n grows.
std::string shaped_name(int shape, int i, int n) {
  switch (shape) {
    case 0:
      return std::string(1000, 'A') + std::to_string(i);
    case 1: {
      const int j = static_cast<int>((static_cast<int64_t>(i) * 7919) % n);
      return std::string(200, 'P') + std::to_string(j % 97) + "_" + std::to_string(j);
    }
    default:
      return i < 50 ? "S" + std::to_string(i) + "_"
                    : "N" + std::to_string(i) + "_S" + std::to_string(i % 50) + "_";
  }
}

void BM_IndexedInsertShapes(benchmark::State& state) {
  const int shape = static_cast<int>(state.range(0));
  const int n = static_cast<int>(state.range(1));
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back(shaped_name(shape, i, n));
  for (auto _ : state) {
    vemba::RuleListBuilder rules;
    for (const std::string& name : names) rules.add(vemba::Rule{name, {}, {}});
    benchmark::DoNotOptimize(rules.take());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_IndexedInsertShapes)->ArgsProduct({{0, 1, 2}, {1000, 4000}});

}  // namespace
