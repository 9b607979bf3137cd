// A complete temporary deployment for running the request program: the
// configuration, a scrambled rules (and contents) file, prompt recordings, a
// web root with its sounds directory, and the pages and log directories.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace vemba::test {

class Deployment {
 public:
  /// Lays out the directories and writes a configuration with defaults that
  /// set() may change before run().
  Deployment();

  const std::string& root() const { return dir_.path(); }
  std::string config_dir() const { return root() + "/cfg/"; }
  std::string language_dir() const { return root() + "/packs/en_1_bin/"; }
  std::string sounds_dir() const { return root() + "/www/tts/"; }
  std::string pages_dir() const { return root() + "/pages/"; }
  std::string log_dir() const { return root() + "/logs/"; }
  std::string base_url() const { return "http://localhost:8080"; }

  /// Sets or removes a configuration key.
  void set(const std::string& key, const std::string& value) { config_[key] = value; }
  void unset(const std::string& key) { config_.erase(key); }

  /// Stores plain rules or contents text in its scrambled form.
  void write_rules(const std::string& plain);
  void write_contents(const std::string& plain);

  /// A recording in the plain form (name + ".raw") or the stored form.
  void add_prompt(const std::string& name, const std::string& samples);
  void add_stored_prompt(const std::string& name, const std::string& samples);

  /// The eight request arguments.
  std::vector<std::string> args(const std::string& message, const std::string& mode = "0",
                                const std::string& page = "result42",
                                const std::string& script_type = "VXML") const;

  /// Runs the request program to its end.
  ProcessResult run(const std::string& message, const std::string& mode = "0",
                    const std::string& page = "result42", const std::string& script_type = "VXML");

  /// Starts the request program with standard output going to out_path.
  pid_t start(const std::vector<std::string>& args, const std::string& out_path);

  /// Writes the configuration file from the current keys.
  void write_config() const;

  /// Path of a sound file and a page after a run.
  std::string wav_path(const std::string& id = "42") const {
    return sounds_dir() + "sound" + id + ".wav";
  }
  std::string page_path(const std::string& page = "result42") const { return pages_dir() + page; }
  /// Text of every log file of the run, joined.
  std::string log_text() const;

 private:
  TempDir dir_;
  std::map<std::string, std::string> config_;
};

/// Waits for a started process; its exit status or -1.
int wait_process(pid_t pid);

/// Mu-law silence of the given length.
std::string samples(size_t bytes, char value = '\x7f');

}  // namespace vemba::test
