// What the form-calculation tests share: the solvcalc tool run as a program,
// copies of the example sets, and a fixture writing one new set per case.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "messages/messages.hpp"
#include "store/store.hpp"
#include "set_fixture.hpp"

// The key of box N.
inline std::string P(int box) { return "p" + std::to_string(box); }

// One run of solvcalc: its exit code (-1 when it did not exit normally) and
// what it wrote.
struct ToolRun {
  int exitCode = -1;
  std::string out, err;
};

// Where solvcalc's error output goes: apart (into ToolRun::err) or mixed
// into its standard output.
enum class Stderr { Apart, IntoOut };

// Runs a program with the arguments (each quoted for the shell), no input,
// its output captured through files in `scratchDir` that are removed again.
inline ToolRun RunTool(const std::string& program, const std::vector<std::string>& args,
                       const std::filesystem::path& scratchDir, Stderr stderrTo = Stderr::Apart) {
  const std::filesystem::path out = scratchDir / "stdout";
  const std::filesystem::path err = scratchDir / "stderr";
  std::string command = "'" + program + "'";
  for (const auto& a : args) command += " '" + a + "'";
  command += " >'" + out.string() + "'";
  command += stderrTo == Stderr::IntoOut ? std::string(" 2>&1") : " 2>'" + err.string() + "'";
  command += " </dev/null";
  const int status = std::system(command.c_str());
  ToolRun run;
  if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  run.out = Bytes(out);
  if (stderrTo == Stderr::Apart) run.err = Bytes(err);
  std::error_code ec;
  std::filesystem::remove(out, ec);
  std::filesystem::remove(err, ec);
  return run;
}

inline ToolRun RunSolvcalc(const std::vector<std::string>& args, const std::filesystem::path& scratchDir,
                           Stderr stderrTo = Stderr::Apart) {
  return RunTool(SOLVCALC_PATH, args, scratchDir, stderrTo);
}

// A copy of the example set `name` at `to`; returns `to`.
inline std::filesystem::path CopyExample(const std::string& name, const std::filesystem::path& to) {
  std::filesystem::copy_file(std::filesystem::path(EXAMPLES_DIR) / name, to);
  return to;
}

// An expected message of a check table: its number in the form's message
// table and the limit its "%s" carries.
struct Msg {
  int n;
  const char* limit = "";
};

// A check case: the section's heading boxes, further boxes, the messages.
struct MessageCase {
  const char* name;
  const char* head;
  const char* boxes;
  std::vector<Msg> expected;
};

// A set fixture whose cases each write a set file of their own (1.i10, 2.i10, ...).
class FormFixture : public SetFixture {
 protected:
  // Writes the next set file from UTF-8 lines and opens it.
  void NextSet(std::string_view utf8Lines) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(utf8Lines);
  }
  // Box N (or the box `key`) of `section`; "<absent>" when it is not there.
  static std::string Box(const std::string& section, int box) { return Box(section, P(box)); }
  static std::string Box(const std::string& section, const std::string& key) {
    return solv::ReadField(key, "<absent>", section);
  }
  // The messages after the header.
  static std::vector<std::string> MessageItems() {
    return std::vector<std::string>(solv::Messages().items.begin() + 1, solv::Messages().items.end());
  }

  int sets_ = 0;
};

// A message text with `limit` in place of its first "%s".
inline std::string WithLimit(std::string text, const char* limit) {
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, limit);
  return text;
}
