// A message through a stored language pack: the loader, then translate.
#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "rules/rules_loader.h"
#include "rules/scramble.h"
#include "translate/translate_test_util.h"
#include "translate/translator.h"

namespace vemba {
namespace {

constexpr const char* kRules =
    "# messages waiting\n"
    "<LANGUAGE ENGLISH>\n"
    "MSGS <VAR_NUMBER_EN> : you_have.wav #1 message.wav/messages.wav/1\n"
    "AT <VAR_TIME> : at.wav #1\n"
    "DEFAULT <VAR_SPELL> : #1\n";

constexpr const char* kContents =
    "<LANGUAGE ENGLISH>\n"
    "you_have.wav:You have\n"
    "message.wav:message\n"
    "messages.wav:messages\n"
    "at.wav:at\n";

PromptList translate_with_pack(const std::string& message, int mode) {
  MemoryFileSystem fs;
  fs.add_file("/pack/rules.dat", scramble_text(kRules));
  fs.add_file("/pack/contents.dat", scramble_text(kContents));
  test::LogCapture capture;
  LanguageTable table;
  EXPECT_EQ(
      load_rules(fs, capture.log, table, "\\pack\\rules.dat", "\\pack\\contents.dat", 5, mode), 1);
  Translator t(capture.log, table, capture.clock, capture.clock.now(), message, 5, mode, "en-us");
  return t.translate();
}

TEST(WorkedExample, ThroughTheLoader) {
  struct Case {
    std::string message;
    int mode;
    PromptList prompts;
  } cases[] = {
      {" MSGS  3 ", 0, {"*SYSCOM*you_have.wav", "*SYSCOM*3.wav", "*SYSCOM*messages.wav"}},
      {" MSGS  3 ", 1, {"You have", "3", "messages"}},
      {"MSGS 1", 0, {"*SYSCOM*you_have.wav", "*SYSCOM*1.wav", "*SYSCOM*message.wav"}},
      {"MSGS 1", 1, {"You have", "1", "message"}},
      {"AT 14:05",
       0,
       {"*SYSCOM*at.wav", "*SYSCOM*2.wav", "*SYSCOM*o.wav", "*SYSCOM*5.wav", "*SYSCOM*pm.wav"}},
      {"AT 14:05", 1, {"at", "2:05", "pm"}},
      {"ok", 0, {"*SYSCOM*o.wav", "*SYSCOM*k.wav"}},
      {"MSGS x", 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(translate_with_pack(c.message, c.mode), c.prompts) << c.message << " mode " << c.mode;
  }
}

}  // namespace
}  // namespace vemba
