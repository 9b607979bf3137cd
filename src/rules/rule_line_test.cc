#include "rules/rule_line.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/console.h"

namespace vemba {
namespace {

struct Messages : LoadObserver {
  void on_message(const std::string&, int, int level, const std::string& message) override {
    EXPECT_EQ(level, TTS_LL_ERR) << message;
    texts.push_back(message);
  }
  std::vector<std::string> texts;
};

struct Parsed {
  bool ok = false;
  Rule rule;
  std::vector<std::string> messages;
};

Parsed parse(const std::string& line) {
  StringConsole console;
  FixedClock clock(0);
  Log log(console, clock);
  Messages messages;
  LoadReport report(log, &messages);
  Parsed parsed;
  parsed.ok = read_rule_line(report, line, &parsed.rule);
  parsed.messages = messages.texts;
  return parsed;
}

// Slots as "type/option" and items as "text@depends_on/plural".
std::string describe(const Rule& rule) {
  std::string out = rule.name + " |";
  for (const VarValue& slot : rule.slots) {
    out += " " + std::to_string(slot.type) + "/" + std::to_string(slot.option);
    EXPECT_EQ(slot.text, "none");
  }
  out += " |";
  for (const RuleItem& item : rule.items) {
    out +=
        " " + item.text + "@" + std::to_string(item.depends_on) + "/" + std::to_string(item.plural);
  }
  return out;
}

TEST(ParseRuleLine, AcceptedLines) {
  struct Case {
    const char* line;
    const char* rule;
  } cases[] = {
      {"TIME <VAR_TIME>: at.wav #1 <!-- time of day", "TIME | 5/0 | at.wav@-1/0 #1@-1/0"},
      {"<VAR_NUMBER_EN> MINUTES: #1 minute.wav/minutes.wav/1",
       "MINUTES | 101/0 | #1@-1/0 minute.wav@0/1 minutes.wav@0/2"},
      {"HOURS <VAR_NUMBER_EN>: #1 hour.wav/hours.wav",
       "HOURS | 101/0 | #1@-1/0 hour.wav@0/1 hours.wav@0/2"},
      {"PAIR <VAR_NUMBER_EN> <VAR_NUMBER_EN>: a.wav/1/b.wav/2",
       "PAIR | 101/0 101/0 | a.wav@1/1 b.wav@1/2"},
      {"PAIR <VAR_NUMBER_EN> <VAR_NUMBER_EN>: a.wav/b.wav/2/c.wav",
       "PAIR | 101/0 101/0 | a.wav@1/1 b.wav@1/2 c.wav@0/3"},
      // The name may stand anywhere; only the tags' order matters; more plain
      // tokens are ignored.
      {"<VAR_DATE> <VAR_TIME|1> WHEN ignored: #2 #1", "WHEN | 4/0 5/1 | #2@-1/0 #1@-1/0"},
      {"   A    <VAR_SPELL>   :   #1   x.wav  ", "A | 8/0 | #1@-1/0 x.wav@-1/0"},
      {"DEFAULT <VAR_SPELL>: #1", "DEFAULT | 8/0 | #1@-1/0"},
      {"EMPTY:", "EMPTY | |"},
      {"X: a:b.wav", "X | | a:b.wav@-1/0"},  // only the first ":" splits
      {"X <VAR_WORD>: 2/x.wav a.wav/b.wav", "X | 3/0 | 2/x.wav@-1/0 a.wav@0/1 b.wav@0/2"},
      {"X <VAR_WORD>: #1x a.wav//1/", "X | 3/0 | #1x@-1/0 a.wav@0/1"},
      {"TAB\tNAME <VAR_WORD>: #1", "TAB\tNAME | 3/0 | #1@-1/0"},
      {"X: a.wav<!-- b.wav", "X | | a.wav@-1/0"},
      // Alternatives without a number keep the first slot, even when the rule
      // has none; the composer reports that when the rule is used.
      {"X: a.wav/b.wav", "X | | a.wav@0/1 b.wav@0/2"},
      {"X: #1.wav", "X | | #1.wav@-1/0"},
  };
  for (const Case& c : cases) {
    Parsed parsed = parse(c.line);
    EXPECT_TRUE(parsed.ok) << c.line;
    EXPECT_TRUE(parsed.messages.empty()) << c.line << ": " << parsed.messages.front();
    EXPECT_EQ(describe(parsed.rule), c.rule) << c.line;
  }
}

TEST(ParseRuleLine, RefusedLinesAndTheirMessages) {
  std::string long_name(256, 'N');
  struct Case {
    std::string line;
    std::vector<std::string> messages;  // "%" stands for the quoted line
  } cases[] = {
      {"HOURS <VAR_NUMBER_EN>: #2", {"ERROR !! Wrong dependence definition [%]"}},
      {"HOURS <VAR_NUMBER_EN>: #0", {"ERROR !! Wrong dependence definition [%]"}},
      {"HOURS <VAR_NUMBER_EN>: #", {"ERROR !! Wrong dependence definition [%]"}},
      {"HOURS <VAR_NUMBER_EN>: hello", {"ERROR !! Unrecognized type [%]"}},
      {"HOURS <VAR_NUMBER_EN>: .wav", {"ERROR !! Wrong dependence definition [%]"}},
      {"HOURS <VAR_NUMBER_EN>: a.wav/x", {"ERROR !! Wrong dependence definition [%]"}},
      {"HOURS <VAR_NUMBER_EN>: a.wav/2", {"ERROR !! Wrong dependence definition [%]"}},
      {"HOURS: a.wav/1", {"ERROR !! Wrong dependence definition [%]"}},
      // The right part stops at its first error.
      {"H: bad #1 worse", {"ERROR !! Unrecognized type [%]"}},
      {"HOURS <VAR_NUMBER_EN> #1", {"Separator symbol : is missing in rule [%]"}},
      {"X <!-- a: b", {"Separator symbol : is missing in rule [%]"}},
      {"<VAR_TIME>: #1", {"ERROR !! Rule name is missing [%]"}},
      {": a.wav", {"ERROR !! Rule name is missing [%]"}},
      // A left-part error stops the left part; the right part is still read.
      {"X <VAR_TIME: #1",
       {"ERROR !! Wrong rule description [%]", "ERROR !! Wrong dependence definition [%]"}},
      {"X <VAR_NUMBER_EN|2>: a.wav", {"ERROR !! Wrong rule description [%]"}},
      {"<VAR_FOO> X: a.wav",
       {"ERROR !! Wrong rule description [%]", "ERROR !! Rule name is missing [%]"}},
      {"X " + long_name + ": a.wav", {"ERROR !! Description too long [%]"}},
      {long_name + ": a.wav",
       {"ERROR !! Description too long [%]", "ERROR !! Rule name is missing [%]"}},
      {"X: hello <!-- comment", {"ERROR !! Unrecognized type [%]"}},
      {"X <VAR_WORD>: a.wav.wav/1", {"ERROR !! Wrong dependence definition [%]"}},
  };
  for (const Case& c : cases) {
    Parsed parsed = parse(c.line);
    EXPECT_FALSE(parsed.ok) << c.line;
    std::vector<std::string> expected;
    for (std::string message : c.messages) {
      message.replace(message.find('%'), 1, c.line);
      expected.push_back(message);
    }
    EXPECT_EQ(parsed.messages, expected) << c.line;
  }
}

TEST(ParseRuleLine, NameOf255CharactersIsAccepted) {
  std::string name(255, 'N');
  Parsed parsed = parse(name + ": a.wav");
  EXPECT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.rule.name, name);
}

TEST(ParseRuleLine, RefusedLineAddsNothingAndAcceptedLineIsOrdered) {
  StringConsole console;
  FixedClock clock(0);
  Log log(console, clock);
  LoadReport report(log);
  RuleListBuilder rules;
  EXPECT_EQ(parse_rule_line(report, "TIME <VAR_TIME>: #1", rules), 1);
  EXPECT_EQ(parse_rule_line(report, "TIME_AM <VAR_TIME>: #2", rules), 0);
  EXPECT_EQ(parse_rule_line(report, "TIME_AM <VAR_TIME>: #1", rules), 1);
  std::vector<Rule> list = rules.take();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "TIME_AM");
  EXPECT_EQ(list[1].name, "TIME");
  // Errors reach the log at the error level.
  EXPECT_NE(
      console.text().find("[ERR ] ERROR !! Wrong dependence definition [TIME_AM <VAR_TIME>: #2]"),
      std::string::npos);
}

TEST(ParseContentsLine, Lines) {
  std::string max_description(kContentsDescriptionMax, 'd');
  struct Case {
    std::string line;
    int result;
    std::string name;
    std::string description;
    std::string message;
  } cases[] = {
      {"goodbye.wav:Goodbye and thank you", 1, "goodbye.wav", "Goodbye and thank you", ""},
      {" at.wav : at ", 1, " at.wav ", " at ", ""},  // nothing is trimmed
      {"a:b:c", 1, "a", "b:c", ""},
      {":", 1, "", "", ""},
      {"x.wav:" + max_description, 1, "x.wav", max_description, ""},
      {"x.wav:" + max_description + "d", 0, "", "", ""},  // the caller's message only
      {"no separator", 0, "", "", "Separator symbol : is missing in line [no separator]"},
  };
  for (const Case& c : cases) {
    StringConsole console;
    FixedClock clock(0);
    Log log(console, clock);
    Messages messages;
    LoadReport report(log, &messages);
    std::vector<ContentsItem> list;
    EXPECT_EQ(parse_contents_line(report, c.line, list), c.result) << c.line;
    if (c.result == 1) {
      ASSERT_EQ(list.size(), 1u);
      EXPECT_EQ(list[0].name, c.name);
      EXPECT_EQ(list[0].description, c.description);
    } else {
      EXPECT_TRUE(list.empty());
    }
    EXPECT_EQ(messages.texts.empty() ? "" : messages.texts[0], c.message) << c.line;
  }
}

}  // namespace
}  // namespace vemba
