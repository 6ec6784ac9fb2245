// Undo and redo of the user's entries in the open set.
//
// Every user operation (an entry and its recalculation, a check box, a
// carried transfer, a correction from the message list) is one step: the
// boxes it changed, each with its text before and after, in every section
// it touched. Undo writes the texts before back and recalculates the forms
// touched; redo writes the texts after. A box changed since by something
// else stays as it is, and a form erased since (a deleted attachment) is not
// brought back: the outcome says so.
#pragma once

#include <cstddef>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/store.hpp"

namespace solv {

struct BoxChange {
  std::string section, key;
  std::optional<std::string> before, after;  // nullopt: the box was absent
};

struct HistoryStep {
  std::string label;               // "poz. 39 PIT-37"
  std::string link;                // "PIT37b#p39": the box the label names; may be empty
  std::vector<BoxChange> changes;  // in the order first written
  std::vector<std::string> gone;   // forms erased since, as the user knows them ("PIT/B – kopia 2")
};

struct HistoryOutcome {
  bool done = false;     // something was written back
  std::string label;     // of the step undone or redone
  std::string link;      // the box to show
  std::string message;   // for the user, in Polish; empty when all went as asked
};

constexpr std::string_view kNothingToUndo = "Nie ma czego cofnąć.";
constexpr std::string_view kNothingToRedo = "Nie ma czego ponowić.";
constexpr std::string_view kHistoryReadOnly = "Zestaw jest otwarty tylko do odczytu: nie można niczego cofnąć.";

class EditHistory final : public StoreObserver {
 public:
  static constexpr std::size_t kMaxSteps = 500;

  // Watches the store for its lifetime.
  EditHistory();

  // Marks one user operation: the changes made while the outermost one
  // lasts become one step (none when nothing changed) and the steps to redo
  // are forgotten. Operations nest. The step is named by the box given
  // (the one the user entered), else by the first box it changed. An
  // operation ended by an exception wrote nothing and leaves no step.
  class Operation {
   public:
    explicit Operation(EditHistory& history, std::string section = {}, std::string key = {});
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

   private:
    EditHistory& history_;
    int exceptions_;
  };

  // The set the history is of: another one forgets every step. Operations,
  // undo and redo follow the open set by themselves.
  void BelongsTo(const std::filesystem::path& set);
  void Clear();

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::string UndoLabel() const { return undo_.empty() ? std::string() : undo_.back().label; }
  std::string RedoLabel() const { return redo_.empty() ? std::string() : redo_.back().label; }
  const std::vector<HistoryStep>& UndoSteps() const { return undo_; }

  // Throw what the store throws (the set could not be written); the step
  // then stays where it was.
  HistoryOutcome Undo();
  HistoryOutcome Redo();

  void Wrote(std::string_view section, std::string_view key, const std::optional<std::string>& before,
             const std::optional<std::string>& after) override;
  void Erased(std::string_view section) override;

 private:
  void Begin(std::string section, std::string key);
  void End(bool failed);
  HistoryOutcome Apply(std::vector<HistoryStep>& from, std::vector<HistoryStep>& to, bool back);

  int depth_ = 0;
  bool applying_ = false;
  HistoryStep pending_;
  std::string namedSection_, namedKey_;  // the box the outermost operation names
  std::vector<HistoryStep> undo_, redo_;
  std::filesystem::path set_;
  ObservedStore observed_;  // last: attached once the rest is built
};

// The history of the open set (the program's one).
EditHistory& SetHistory();

}  // namespace solv
