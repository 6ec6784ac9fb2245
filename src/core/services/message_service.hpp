// Message boxes: information boxes, questions with two or three answers and
// the box of an unhandled error.
//
// The boxes themselves are drawn by a provider that the user interface
// installs once per run. Without a provider nothing is shown and every
// question answers -1, so a caller that acts only on a positive answer (every
// deletion acts only on 1, "&TAK") does nothing. Texts are UTF-8.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace solv {

class MessageProvider {
 public:
  virtual ~MessageProvider() = default;
  // kind: '!' for errors, 'i' for information.
  virtual void ShowInfo(const std::string& title, const std::string& message, char kind, int number) = 0;
  virtual void ShowEditInfo(const std::string& title, const std::string& message, char kind, int number) = 0;
  // The chosen button: 1 first, 2 second, 3 third (third empty: two buttons);
  // anything else (closed box) counts as no answer.
  virtual int ShowChoose(const std::string& third, const std::string& message, const std::string& first,
                         const std::string& second, const std::string& title) = 0;
};

// The process-wide provider; nullptr (the default) shows nothing.
void SetMessageProvider(MessageProvider* provider);
MessageProvider* CurrentMessageProvider();

// Installs a provider for one scope and puts the previous one back.
class ScopedMessageProvider {
 public:
  explicit ScopedMessageProvider(MessageProvider* provider) : previous_(CurrentMessageProvider()) {
    SetMessageProvider(provider);
  }
  ~ScopedMessageProvider() { SetMessageProvider(previous_); }
  ScopedMessageProvider(const ScopedMessageProvider&) = delete;
  ScopedMessageProvider& operator=(const ScopedMessageProvider&) = delete;

 private:
  MessageProvider* previous_;
};

// The message component: the boxes plus a collected text that the "ALL"
// variants put before their message.
class TKVZMessage {
 public:
  // Adds the trimmed text: as the whole collection when that is blank,
  // otherwise after a line feed.
  void AddInfo(std::string_view text);
  bool IsMessage() const;  // the collected text is not blank
  const std::string& CollectedText() const { return text_; }

  void ShowInfo(const std::string& title, const std::string& message, char kind, int number);
  void ShowEditInfo(const std::string& title, const std::string& message, char kind, int number);
  int ShowChoose(const std::string& third, const std::string& message, const std::string& first,
                 const std::string& second, const std::string& title);

  // The message becomes the collected text, a line feed and message; the
  // collected text is emptied afterwards.
  void ShowInfoALL(const std::string& title, const std::string& message, char kind, int number);
  void ShowEditInfoALL(const std::string& title, const std::string& message, char kind, int number);
  int ShowChooseALL(const std::string& third, const std::string& message, const std::string& first,
                    const std::string& second, const std::string& title);

 private:
  std::string Collected(const std::string& message);
  std::string text_;
};

// The one message component of the run.
TKVZMessage& MessageComponent();

// An information box: kind 'i'.
void InfoBox(const std::string& message, const std::string& title, int number = 0);
// A question; third may be empty for two buttons. -1 without a provider.
int AskBox(const std::string& message, const std::string& first, const std::string& second,
           const std::string& title, const std::string& third = {});
// The Asker (util/asker.hpp) of the message boxes: a question of one to three
// buttons through AskBox, a notice through InfoBox.
int AskThroughBoxes(std::string_view text, std::string_view title, const std::vector<std::string>& buttons);

// Boxes of unhandled errors.
enum class ErrorKind {
  InputMask,   // a date that does not fit the mask of its edit field
  Conversion,  // text that is no number or date
  Other,
};
struct ErrorBox {
  std::string title;
  std::string message;
  char kind = '!';
  int number = 0;
  bool operator==(const ErrorBox&) const = default;
};
ErrorBox ErrorBoxFor(ErrorKind kind, std::string ownMessage);
// Shows the error's box; the program goes on afterwards.
void ReportError(ErrorKind kind, const std::string& ownMessage);

// A provider for tests: records every box and answers questions from a queue
// (-1 once the queue is empty).
class RecordingMessageProvider final : public MessageProvider {
 public:
  enum class Function { Info, EditInfo, Choose };
  struct Call {
    Function function = Function::Info;
    std::string title;
    std::string message;
    char kind = 0;       // Info, EditInfo
    int number = 0;      // Info, EditInfo
    std::string first;   // Choose
    std::string second;  // Choose
    std::string third;   // Choose
  };

  void ShowInfo(const std::string& title, const std::string& message, char kind, int number) override {
    calls.push_back({Function::Info, title, message, kind, number, {}, {}, {}});
  }
  void ShowEditInfo(const std::string& title, const std::string& message, char kind, int number) override {
    calls.push_back({Function::EditInfo, title, message, kind, number, {}, {}, {}});
  }
  int ShowChoose(const std::string& third, const std::string& message, const std::string& first,
                 const std::string& second, const std::string& title) override {
    calls.push_back({Function::Choose, title, message, 0, 0, first, second, third});
    if (answers.empty()) return -1;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<Call> calls;
  std::deque<int> answers;
};

}  // namespace solv
