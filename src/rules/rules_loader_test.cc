#include "rules/rules_loader.h"

#include <gtest/gtest.h>

#include <utility>

#include "memory_file_system.h"
#include "rules/scramble.h"

namespace vemba {
namespace {

struct Message {
  int line;
  int level;
  std::string text;
  bool operator==(const Message&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Message& m) {
  return out << m.line << "/" << m.level << ": " << m.text;
}

// A file without a section header loads nothing, and says so.
const std::string kNoHeader = "ERROR !! No <LANGUAGE header in the file";

struct Recorder : LoadObserver {
  void on_message(const std::string& path, int line, int level,
                  const std::string& message) override {
    paths.push_back(path);
    messages.push_back({line, level, message});
  }
  std::vector<std::string> paths;
  std::vector<Message> messages;
};

class Loader : public ::testing::Test {
 protected:
  Loader() : clock_(0), log_(console_, clock_) { log_.set_level(TTS_LL_VERB); }

  void write_rules(const std::string& plain) { rules_.stored = scramble_text(plain); }
  void write_contents(const std::string& plain) { contents_.stored = scramble_text(plain); }
  int load(int id = 1, int mode = 0) {
    return load_rules(log_, table_, rules_, contents_, id, mode, &recorder_);
  }
  std::vector<std::string> names(size_t record = 0) const {
    std::vector<std::string> out;
    for (const Rule& rule : table_.records().at(record).rule_list) out.push_back(rule.name);
    return out;
  }
  std::vector<std::vector<std::string>> all_names() const {
    std::vector<std::vector<std::string>> out;
    for (size_t i = 0; i < table_.records().size(); ++i) out.push_back(names(i));
    return out;
  }
  std::vector<std::string> contents(size_t record = 0) const {
    std::vector<std::string> out;
    for (const ContentsItem& item : table_.records().at(record).contents_list) {
      out.push_back(item.name + "=" + item.description);
    }
    return out;
  }

  PackText rules_{"C:\\pack\\rules.dat", ""};
  PackText contents_{"C:\\pack\\contents.dat", ""};
  FixedClock clock_;
  StringConsole console_;
  Log log_;
  LanguageTable table_;
  Recorder recorder_;
};

TEST_F(Loader, SmallPackInOrder) {
  write_rules(
      "<!-- time and message rules\n"
      "<LANGUAGE ENGLISH>\n"
      "TIME <VAR_TIME>: at.wav #1\n"
      "MINUTES <VAR_NUMBER_EN>: #1 minute.wav/minutes.wav/1\n"
      "DEFAULT <VAR_SPELL>: #1\n"
      "<!- EOF ->\n"
      "this line is never read\n");
  EXPECT_EQ(load(), 1);
  ASSERT_EQ(table_.records().size(), 1u);
  EXPECT_EQ(table_.records()[0].language_id, 1);
  EXPECT_EQ(names(), (std::vector<std::string>{"TIME", "MINUTES", "DEFAULT"}));
  EXPECT_EQ(table_.default_rule_index, 2);
  EXPECT_TRUE(recorder_.messages.empty());
  EXPECT_TRUE(table_.records()[0].contents_list.empty());
}

TEST_F(Loader, RuleFilesAndTheirOutcome) {
  struct Case {
    const char* name;
    std::string plain;
    int result;
    std::vector<std::vector<std::string>> records;
    int default_index;
    std::vector<Message> messages;
  } cases[] = {
      {"default follows shifts",
       "<LANGUAGE>\nTIME <VAR_TIME>: #1\nDEFAULT <VAR_SPELL>: #1\nTIME2 <VAR_TIME>: #1\n",
       1,
       {{"TIME2", "TIME", "DEFAULT"}},
       2,
       {}},
      {"default replaced",
       "<LANGUAGE>\nDEFAULT: a.wav\nX: a.wav\nDEFAULT: b.wav\n",
       1,
       {{"X", "DEFAULT"}},
       1,
       {}},
      {"default before the first header is dropped",
       "DEFAULT: a.wav\n<LANGUAGE>\nX: a.wav\n",
       1,
       {{"X"}},
       -1,
       {}},
      {"refused default",
       "<LANGUAGE>\nDEFAULT: #1\n",
       1,
       {{}},
       -1,
       {{2, 0, "ERROR !! Wrong dependence definition [DEFAULT: #1]"},
        {2, 0, "ERROR !! rule [DEFAULT: #1] is not applyed."}}},
      {"default of a later section does not count",
       "<LANGUAGE>\nX: a.wav\n<LANGUAGE>\nDEFAULT: a.wav\n",
       1,
       {{"X"}, {"DEFAULT"}},
       -1,
       {}},
      {"refused lines are logged and skipped",
       "<LANGUAGE>\nHOURS <VAR_NUMBER_EN>: #2\nHOURS <VAR_NUMBER_EN>: hello\nOK: a.wav\n",
       1,
       {{"OK"}},
       -1,
       {{2, 0, "ERROR !! Wrong dependence definition [HOURS <VAR_NUMBER_EN>: #2]"},
        {2, 0, "ERROR !! rule [HOURS <VAR_NUMBER_EN>: #2] is not applyed."},
        {3, 0, "ERROR !! Unrecognized type [HOURS <VAR_NUMBER_EN>: hello]"},
        {3, 0, "ERROR !! rule [HOURS <VAR_NUMBER_EN>: hello] is not applyed."}}},
      {"indented end marker is a rule line",
       "<LANGUAGE>\n <!- EOF ->\nX: a.wav\n",
       1,
       {{"X"}},
       -1,
       {{2, 0, "Separator symbol : is missing in rule [ <!- EOF ->]"},
        {2, 0, "ERROR !! rule [ <!- EOF ->] is not applyed."}}},
      {"comments, blanks and white space",
       "  <!-- c\n\n \t\r\n<LANGUAGE>\n\t<!--x: a.wav\nX: a.wav\n",
       1,
       {{"X"}},
       -1,
       {}},
      {"lines before the header are parsed, then dropped",
       "A: a.wav\nB: nope\n<LANGUAGE>\nC: c.wav\n",
       1,
       {{"C"}},
       -1,
       {{2, 0, "ERROR !! Unrecognized type [B: nope]"},
        {2, 0, "ERROR !! rule [B: nope] is not applyed."}}},
      {"no header", "A: a.wav\n", 0, {}, -1, {{0, 0, kNoHeader}}},
      {"empty file", "", 0, {}, -1, {{0, 0, kNoHeader}}},
      {"header anywhere in the line", "xx <LANGUAGE yy\nA: a.wav\n", 1, {{"A"}}, -1, {}},
      {"empty section", "<LANGUAGE ENGLISH>\n", 1, {{}}, -1, {}},
      {"two sections",
       "<LANGUAGE A>\nA: a.wav\n<LANGUAGE B>\nB: b.wav\n",
       1,
       {{"A"}, {"B"}},
       -1,
       {}},
      {"copying header",
       "<LANGUAGE A>\nA: a.wav\nAB: a.wav\n<LANGUAGE=A>\nC: c.wav\nA: x.wav\n",
       1,
       {{"AB", "A"}, {"AB", "C", "A"}},
       -1,
       {}},
      {"copying first header",
       "<LANGUAGE=X>\nA: a.wav\n",
       0,
       {},
       -1,
       {{1, 0, "ERROR !! No such language defined: <LANGUAGE=X>"}}},
      {"copying an empty section",
       "<LANGUAGE>\n<LANGUAGE=X>\n",
       0,
       {{}},
       -1,
       {{2, 0, "ERROR !! No such language defined: <LANGUAGE=X>"}}},
      {"CR line ends",
       "<LANGUAGE>\r\nA: a.wav\r\nB: b.wav #1\r\n",
       1,
       {{"A"}},
       -1,
       {{3, 0, "ERROR !! Wrong dependence definition [B: b.wav #1]"},
        {3, 0, "ERROR !! rule [B: b.wav #1] is not applyed."}}},
      {"a CR inside a line ends it",
       "<LANGUAGE>\nA: a.wav\r#1 junk\nX\r<LANGUAGE\n",
       1,
       {{"A"}},
       -1,
       {{3, 0, "Separator symbol : is missing in rule [X]"},
        {3, 0, "ERROR !! rule [X] is not applyed."}}},
      {"no final line feed", "<LANGUAGE>\nA: a.wav", 1, {{"A"}}, -1, {}},
      {"end marker with more after it",
       "<LANGUAGE>\nA: a.wav\n<!- EOF ->x\nB: b.wav\n",
       1,
       {{"A"}},
       -1,
       {}},
      {"a comment mark first makes a comment, elsewhere it does not hide the header",
       "<LANGUAGE>\nA: a.wav\n\t <!-- <LANGUAGE>\nB: b.wav\nx <!-- <LANGUAGE>\nC: c.wav\n",
       1,
       {{"A", "B"}, {"C"}},
       -1,
       {}},
      {"header mark split over two lines, near misses, lower case",
       "<LANGUAGE>\nA<LANG: a.wav\nUAGE>B: b.wav\nX<LANGUAGx: a.wav\n<language>\n",
       1,
       {{"A<LANG", "UAGE>B", "X<LANGUAGx"}},
       -1,
       {{5, 0, "Separator symbol : is missing in rule [<language>]"},
        {5, 0, "ERROR !! rule [<language>] is not applyed."}}},
      {"header mark after a NUL",
       std::string("<LANGUAGE>\nA: a.wav\0<LANGUAGE>\nB: b.wav\n", 40),
       1,
       {{"A", "B"}},
       -1,
       {}},
      {"header mark in the last bytes", "<LANGUAGE>\nA: a.wav\n<LANGUAGE", 1, {{"A"}, {}}, -1, {}},
      {"a NUL ends a line, on every line",
       std::string("<LANGUAGE>\nA: a.wav\0#1 junk\nB: b.wav\r#1\nX\0: c.wav\nC: c.wav\n", 59),
       1,
       {{"A", "B", "C"}},
       -1,
       {{4, 0, "Separator symbol : is missing in rule [X]"},
        {4, 0, "ERROR !! rule [X] is not applyed."}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    table_.clear_languages();
    table_.default_rule_index = 99;
    recorder_.messages.clear();
    write_rules(c.plain);
    EXPECT_EQ(load(), c.result);
    EXPECT_EQ(all_names(), c.records);
    EXPECT_EQ(table_.default_rule_index, c.default_index);
    EXPECT_EQ(recorder_.messages, c.messages);
  }
}

TEST_F(Loader, LanguageIds) {
  struct Case {
    int id;
    const char* plain;
    int result;
    size_t records;
    std::vector<Message> messages;
  } cases[] = {
      {7, "<LANGUAGE>\nA: a.wav\n<LANGUAGE>\n", 1, 2, {}},
      {-1,
       "<LANGUAGE>\nA: a.wav\n",
       0,
       0,
       {{1, 0, "ERROR !! Unable to identify language: <LANGUAGE>"}}},
      {0, "<LANGUAGE=A>\n", 0, 0, {{1, 0, "ERROR !! No such language exist: <LANGUAGE=A>"}}},
      // Sections are stored only for ids above 0.
      {0, "<LANGUAGE>\nA: a.wav\n", 1, 0, {}},
      {-3, "<LANGUAGE>\nA: a.wav\n", 1, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    table_.clear_languages();
    recorder_.messages.clear();
    write_rules(c.plain);
    EXPECT_EQ(load(c.id), c.result);
    EXPECT_EQ(table_.records().size(), c.records);
    for (const LanguageRules& record : table_.records()) EXPECT_EQ(record.language_id, c.id);
    EXPECT_EQ(recorder_.messages, c.messages);
  }
}

TEST_F(Loader, GetRulesUsesTheFirstSectionOfAnId) {
  write_rules("<LANGUAGE>\nA: a.wav\n<LANGUAGE>\nB: b.wav\n");
  ASSERT_EQ(load(3), 1);
  ASSERT_EQ(table_.get_rules(3).size(), 1u);
  EXPECT_EQ(table_.get_rules(3)[0].name, "A");
  EXPECT_TRUE(table_.get_rules(4).empty());
  EXPECT_TRUE(table_.get_contents(4).empty());
  table_.clear_languages();
  EXPECT_TRUE(table_.records().empty());
}

TEST_F(Loader, LineLengthLimit) {
  // Length is tested first: an over-long blank line or end marker is only
  // over-long.
  std::string fits = "X: " + std::string(kPackLineMax - 3 - 4, 'a') + ".wav";
  ASSERT_EQ(fits.size(), kPackLineMax);
  std::string too_long = "Y: " + std::string(kPackLineMax - 3 - 3, 'a') + ".wav";
  write_rules("<LANGUAGE>\n" + fits + "\r\n" + too_long + "\n" + std::string(kPackLineMax, ' ') +
              "\n" + std::string(kPackLineMax + 1, ' ') + "\n" + std::string(kEndMarker) +
              std::string(kPackLineMax, ' ') + "\nZ: z.wav\n");
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(names(), (std::vector<std::string>{"X", "Z"}));
  const std::string warning = "WARNING !! rule description too long. Check .ini file";
  EXPECT_EQ(recorder_.messages,
            (std::vector<Message>{{3, 1, warning}, {5, 1, warning}, {6, 1, warning}}));
}

TEST_F(Loader, PhysicalLinesBeyond9999BytesAreReadInPieces) {
  // The tail after 9,999 bytes is its own line, descrambled from position 0.
  std::string plain = "<LANGUAGE>\n" + std::string(kLinePieceMax, ' ') + "A: a.wav\nB: b.wav\n";
  std::string stored = scramble_text("<LANGUAGE>\n") +
                       scramble_text(std::string(kLinePieceMax, ' ')) +
                       scramble_text("A: a.wav\nB: b.wav\n");
  rules_.stored = stored;
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(names(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(
      recorder_.messages,
      (std::vector<Message>{{2, 1, "WARNING !! rule description too long. Check .ini file"}}));
  EXPECT_EQ(scramble_text(plain), stored);  // the tool writes files the same way
}

TEST_F(Loader, RulesFileLineLimit) {
  std::string plain = "<LANGUAGE>\n";
  for (int i = 2; i <= kRulesFileLineLimit; ++i) plain += "R" + std::to_string(i) + ": a.wav\n";
  write_rules(plain);
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(names().size(), static_cast<size_t>(kRulesFileLineLimit - 1));
  EXPECT_TRUE(recorder_.messages.empty());

  table_.clear_languages();
  write_rules(plain + "LATE: a.wav\nLATER: a.wav\n");
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(names().size(), static_cast<size_t>(kRulesFileLineLimit - 1));
  std::string expected =
      "WARNING !! File " + rules_.path + " has more than 5000 lines. The rest is ignored";
  EXPECT_EQ(recorder_.messages, (std::vector<Message>{{5001, 1, expected}}));

  // An end marker before the limit ends the file quietly.
  table_.clear_languages();
  recorder_.messages.clear();
  write_rules("<LANGUAGE>\nA: a.wav\n<!- EOF ->\n" + plain + plain);
  EXPECT_EQ(load(), 1);
  EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(Loader, NulEndsALine) {
  write_rules(std::string("<LANGUAGE>\nA: a.wav\0 junk\n", 26));
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(names(), (std::vector<std::string>{"A"}));
  EXPECT_TRUE(recorder_.messages.empty());
}

// The entry that reads the files: a file is wanted only when its text is,
// and the rules' own messages come before the contents file's.
TEST(LoaderFiles, MissingAndUnreadableFiles) {
  StringConsole console;
  FixedClock clock(0);
  Log log(console, clock);
  const std::string rules = "C:\\pack\\rules.dat";
  const std::string contents = "C:\\pack\\contents.dat";
  const std::string no_rules = "Unable to open file (" + rules + ")\n";
  const std::string no_contents = "Unable to open file (" + contents + ")\n";
  struct Case {
    const char* name;
    const char* rules;     // plain text; nullptr: no file, "!": a file that cannot be read
    const char* contents;  // the same
    int mode;
    int result;
    std::vector<Message> messages;
  } cases[] = {
      {"no rules file", nullptr, "<LANGUAGE>\n", 1, 0, {{0, 0, no_rules}}},
      {"rules file unreadable",
       "!",
       nullptr,
       0,
       0,
       {{0, 0, "ERROR !! Unable to open .ini file - " + rules + "\n"}}},
      {"mode 0 never opens contents", "<LANGUAGE>\nA: a.wav\n", "!", 0, 1, {}},
      {"only mode 1 loads contents", "<LANGUAGE>\nA: a.wav\n", nullptr, 2, 1, {}},
      {"no contents file, after the rules' messages",
       "<LANGUAGE>\nB: nope\n",
       nullptr,
       1,
       0,
       {{2, 0, "ERROR !! Unrecognized type [B: nope]"},
        {2, 0, "ERROR !! rule [B: nope] is not applyed."},
        {0, 0, no_contents}}},
      {"contents file unreadable",
       "<LANGUAGE>\n",
       "!",
       1,
       0,
       {{0, 0, "ERROR !! Unable to open .ini file - " + contents + "\n"}}},
      {"rules without a header: the contents are not looked for",
       "A: a.wav\n",
       nullptr,
       1,
       0,
       {{0, 0, kNoHeader}}},
      {"both files", "<LANGUAGE>\nA: a.wav\n", "<LANGUAGE>\na.wav:A\n", 1, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFileSystem fs;
    for (auto [path, plain] : {std::pair{rules, c.rules}, std::pair{contents, c.contents}}) {
      if (plain == nullptr) continue;
      fs.add_file(path, scramble_text(plain));
      if (std::string(plain) == "!") fs.fail(FsOp::kRead, path);
    }
    LanguageTable table;
    Recorder recorder;
    EXPECT_EQ(load_rules(fs, log, table, rules, contents, 1, c.mode, &recorder), c.result);
    EXPECT_EQ(recorder.messages, c.messages);
    // Each message names the file it concerns.
    for (size_t i = 0; i < recorder.paths.size() && i < c.messages.size(); ++i) {
      EXPECT_EQ(recorder.paths[i],
                c.messages[i].text.find(contents) != std::string::npos ? contents : rules);
    }
  }
  EXPECT_NE(console.text().find("[ERR ] Unable to open file (" + rules + ")"), std::string::npos);
}

TEST_F(Loader, ContentsFiles) {
  std::string long_line = "x.wav:" + std::string(kPackLineMax, 'd');
  struct Case {
    const char* name;
    std::string rules;
    std::string plain;
    int result;
    std::vector<std::vector<std::string>> contents;  // per record
    std::vector<Message> messages;
  } cases[] = {
      {"one section",
       "<LANGUAGE>\nA: a.wav\n",
       "<LANGUAGE>\nat.wav:at\nminutes.wav:minutes\n",
       1,
       {{"at.wav=at", "minutes.wav=minutes"}},
       {}},
      {"every record gets the contents",
       "<LANGUAGE>\nA: a.wav\n<LANGUAGE>\n",
       "<LANGUAGE>\na.wav:A\n",
       1,
       {{"a.wav=A"}, {"a.wav=A"}},
       {}},
      {"two headers: reading goes on into the same list",
       "<LANGUAGE>\n",
       "<LANGUAGE>\na.wav:A\n<LANGUAGE=Y>\nb.wav:B\n",
       1,
       {{"a.wav=A", "b.wav=B"}},
       {}},
      {"line ends: leading CR/LF dropped, cut at the first CR",
       "<LANGUAGE>\n",
       "<LANGUAGE>\r\n\ra.wav:A\rjunk\n",
       1,
       {{"a.wav=A"}},
       {}},
      {"refused lines",
       "<LANGUAGE>\n",
       "<LANGUAGE>\nnothing\nx.wav:" + std::string(255, 'd') + "\n" + long_line + "\nok:1\n",
       1,
       {{"ok=1"}},
       {{2, 0, "Separator symbol : is missing in line [nothing]"},
        {2, 0, "ERROR !! contents [nothing] is not applyed."},
        {3, 0, "ERROR !! contents [x.wav:" + std::string(255, 'd') + "] is not applyed."},
        {4, 1, "WARNING !! contents description too long. Check .ini file"}}},
      {"comments, end marker",
       "<LANGUAGE>\n",
       "<!-- c\n<LANGUAGE>\na:1\n<!- EOF ->\nb:2\n",
       1,
       {{"a=1"}},
       {}},
      {"before the first header: dropped",
       "<LANGUAGE>\n",
       "a:1\n<LANGUAGE>\nb:2\n",
       1,
       {{"b=2"}},
       {}},
      {"no header", "<LANGUAGE>\n", "a:1\n", 0, {{}}, {{0, 0, kNoHeader}}},
      {"copying first header",
       "<LANGUAGE>\n",
       "<LANGUAGE=X>\n",
       0,
       {{}},
       {{1, 0, "ERROR !! No such language defined: <LANGUAGE=X>"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    table_.clear_languages();
    recorder_.messages.clear();
    write_rules(c.rules);
    write_contents(c.plain);
    EXPECT_EQ(load(1, 1), c.result);
    ASSERT_EQ(table_.records().size(), c.contents.size());
    for (size_t i = 0; i < c.contents.size(); ++i) EXPECT_EQ(contents(i), c.contents[i]);
    EXPECT_EQ(recorder_.messages, c.messages);
  }
}

TEST_F(Loader, ContentsIdMinusOneIsRefusedAtTheHeader) {
  // Reached only when the rules file stored nothing and so never checked it.
  write_rules("A: a.wav\n");
  write_contents("<LANGUAGE>\n");
  EXPECT_EQ(load(-1, 1), 0);  // no header in the rules file
  EXPECT_EQ(recorder_.messages, (std::vector<Message>{{0, 0, kNoHeader}}));
}

TEST_F(Loader, ContentsFileLineLimit) {
  write_rules("<LANGUAGE>\n");
  std::string plain = "<LANGUAGE>\n";
  for (int i = 2; i <= kContentsFileLineLimit; ++i) plain += "p" + std::to_string(i) + ":d\n";
  write_contents(plain + "late:d\n");
  EXPECT_EQ(load(1, 1), 1);
  EXPECT_EQ(contents().size(), static_cast<size_t>(kContentsFileLineLimit - 1));
  std::string expected =
      "WARNING !! File " + contents_.path + " has more than 10000 lines. The rest is ignored";
  EXPECT_EQ(recorder_.messages, (std::vector<Message>{{10001, 1, expected}}));
}

TEST_F(Loader, LogLevelsWithoutObserver) {
  write_rules("<LANGUAGE>\nX\n" + std::string(2000, 'x') + "\n");
  log_.set_level(TTS_LL_ERR);
  EXPECT_EQ(load_rules(log_, table_, rules_, contents_, 1, 0), 1);
  EXPECT_NE(console_.text().find("[ERR ] ERROR !! rule [X] is not applyed."), std::string::npos);
  EXPECT_EQ(console_.text().find("WARNING"), std::string::npos);  // filtered out
}

}  // namespace
}  // namespace vemba
