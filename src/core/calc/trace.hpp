// What one recalculation read before it wrote each box: the inputs that
// "Skąd ta kwota?" names. A trace sees the store's reads and writes while it
// lives; the calculation helpers mark with the scopes below which reads
// belong to which writes.
//
// The inputs of a written box are the distinct boxes read since the previous
// write. Within a step every write takes the step's reads (a helper that
// writes an income and a loss from the same two boxes). Reads made for a
// check are no inputs: a check sets the reads made for its arguments aside,
// and they become the inputs of the next write only when that write read
// nothing of its own (a total kept in a variable, checked, then written).
// Reads of check boxes that decide the method or purpose are conditions, not
// inputs. A box read after its own earlier write in the run stands for that
// write's inputs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/store.hpp"

namespace solv {

struct TracedBox {
  std::string section, key;
};

struct TracedWrite {
  std::string section, key;
  std::string text;                // the text written (empty when erased)
  std::vector<TracedBox> inputs;   // distinct, in the order first read
  std::string rule;                // in words; empty when none was given
  bool fromItself = false;         // read its own typed text (a typed amount put in shape)
};

class CalcTrace final : public StoreObserver {
 public:
  CalcTrace();
  ~CalcTrace() override;
  CalcTrace(const CalcTrace&) = delete;
  CalcTrace& operator=(const CalcTrace&) = delete;

  const std::vector<TracedWrite>& Writes() const { return writes_; }
  // The last write of the box in the run, or nullptr.
  const TracedWrite* LastWrite(std::string_view section, std::string_view key) const;

  void Read(std::string_view section, std::string_view key, const std::optional<std::string>& text) override;
  void Wrote(std::string_view section, std::string_view key, const std::optional<std::string>& before,
             const std::optional<std::string>& after) override;

 private:
  friend class TraceStep;
  friend class TraceCheck;
  friend class TraceQuiet;
  friend void TraceRule(std::string_view rule);

  struct Step {
    bool ownReads;
  };
  std::vector<TracedBox> pending_;  // read since the previous write
  std::vector<TracedBox> parked_;   // read for the last check
  std::vector<Step> steps_;
  int quiet_ = 0;                   // inside checks: reads are no inputs
  std::string rule_;                // of the next write
  std::vector<TracedWrite> writes_;
  CalcTrace* previous_;
  ObservedStore attach_;
};

// The trace that records now, or nullptr.
CalcTrace* ActiveTrace();

// Writes made while a step lives all take the step's reads. kOwnReads: only
// the reads made inside the step (a helper that reads its boxes itself);
// kWithPending: those made just before it too (values passed in).
class TraceStep {
 public:
  enum Reads { kWithPending, kOwnReads };
  explicit TraceStep(Reads reads = kWithPending);
  ~TraceStep();
  TraceStep(const TraceStep&) = delete;
  TraceStep& operator=(const TraceStep&) = delete;

 private:
  CalcTrace* trace_;
};

// A check: the reads made for its arguments are set aside, its own reads are
// no inputs.
class TraceCheck {
 public:
  TraceCheck();
  ~TraceCheck();
  TraceCheck(const TraceCheck&) = delete;
  TraceCheck& operator=(const TraceCheck&) = delete;

 private:
  CalcTrace* trace_;
};

// Reads made while it lives are no inputs (conditions such as the method).
class TraceQuiet {
 public:
  TraceQuiet();
  ~TraceQuiet();
  TraceQuiet(const TraceQuiet&) = delete;
  TraceQuiet& operator=(const TraceQuiet&) = delete;

 private:
  CalcTrace* trace_;
};

// The rule in words of the next box written ("poz. 41 = poz. 39 − poz. 40,
// gdy dodatnia"). Nothing without an active trace.
void TraceRule(std::string_view rule);

// "41" for "p41", "10a" for "P10a": the number a rule text names.
std::string RuleNumber(std::string_view key);

}  // namespace solv
