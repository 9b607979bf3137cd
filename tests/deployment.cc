#include "deployment.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "audio/prompt_audio.h"
#include "platform/console.h"
#include "rules/scramble.h"

namespace vemba::test {

Deployment::Deployment() {
  for (const char* sub : {"cfg", "packs/en_1_bin", "www/tts", "pages", "logs"}) {
    make_dirs(root() + "/" + sub);
  }
  config_ = {
      {"id", "1"},
      {"code", "en"},
      {"version", "1.0"},
      {"lpdat", root() + "/packs"},  // the entry adds the separator
      {"wwwroot", root() + "/www"},
      {"lpsounds", root() + "/www/tts"},
      {"rules", "rules.dat"},
      {"contents", "contents.dat"},
      {"log_dir", root() + "/logs"},
      {"res_dir", root() + "/pages"},
      {"log_level", "3"},
      {"hold", "5"},
      {"hold_log", "5"},
      {"channels", "4"},
  };
}

void Deployment::write_config() const {
  std::string text;
  for (const auto& [key, value] : config_) text += key + "=" + value + "\n";
  write_file(config_dir() + "tts_vemba.cfg", text);
}

void Deployment::write_rules(const std::string& plain) {
  write_file(config_dir() + "rules.dat", scramble_text(plain));
}

void Deployment::write_contents(const std::string& plain) {
  write_file(config_dir() + "contents.dat", scramble_text(plain));
}

void Deployment::add_prompt(const std::string& name, const std::string& bytes) {
  write_file(language_dir() + name + ".raw", bytes);
}

void Deployment::add_stored_prompt(const std::string& name, const std::string& bytes) {
  StringConsole console;
  std::optional<std::string> stored = prompt_data_name(console, name);
  write_file(language_dir() + stored.value() + ".dat", bytes);
}

std::vector<std::string> Deployment::args(const std::string& message, const std::string& mode,
                                          const std::string& page,
                                          const std::string& script_type) const {
  return {config_dir(), "1", message, mode, "en-us", page, script_type, base_url()};
}

ProcessResult Deployment::run(const std::string& message, const std::string& mode,
                              const std::string& page, const std::string& script_type) {
  write_config();
  return run_process(VEMBA_TTS_PATH, args(message, mode, page, script_type), root());
}

pid_t Deployment::start(const std::vector<std::string>& args, const std::string& out_path) {
  pid_t pid = ::fork();
  if (pid == 0) {
    int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || ::chdir(root().c_str()) != 0) ::_exit(127);
    ::dup2(out, 1);
    ::close(out);
    std::vector<char*> argv;
    std::string program = VEMBA_TTS_PATH;
    argv.push_back(program.data());
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

std::string Deployment::log_text() const {
  std::string text;
  for (const auto& entry : std::filesystem::directory_iterator(log_dir())) {
    text += read_file(entry.path().string());
  }
  return text;
}

int wait_process(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string samples(size_t bytes, char value) { return std::string(bytes, value); }

}  // namespace vemba::test
