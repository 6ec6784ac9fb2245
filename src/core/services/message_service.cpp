#include "services/message_service.hpp"
#include "util/ascii.hpp"

#include <utility>

namespace solv {
namespace {

MessageProvider* g_provider = nullptr;

// Blanks and control characters at both ends removed.
const char* const kErrorTitle = "Informacja - Błąd";

}  // namespace

void SetMessageProvider(MessageProvider* provider) { g_provider = provider; }
MessageProvider* CurrentMessageProvider() { return g_provider; }

void TKVZMessage::AddInfo(std::string_view text) {
  const std::string_view t = Trimmed(text);
  if (Trimmed(text_).empty()) {
    text_ = std::string(t);
  } else {
    text_ += '\n';
    text_ += t;
  }
}

bool TKVZMessage::IsMessage() const { return !Trimmed(text_).empty(); }

void TKVZMessage::ShowInfo(const std::string& title, const std::string& message, char kind, int number) {
  if (MessageProvider* p = CurrentMessageProvider()) p->ShowInfo(title, message, kind, number);
}

void TKVZMessage::ShowEditInfo(const std::string& title, const std::string& message, char kind, int number) {
  if (MessageProvider* p = CurrentMessageProvider()) p->ShowEditInfo(title, message, kind, number);
}

int TKVZMessage::ShowChoose(const std::string& third, const std::string& message, const std::string& first,
                            const std::string& second, const std::string& title) {
  MessageProvider* p = CurrentMessageProvider();
  return p ? p->ShowChoose(third, message, first, second, title) : -1;
}

std::string TKVZMessage::Collected(const std::string& message) {
  std::string all = std::move(text_);
  text_.clear();
  all += '\n';
  all += message;
  return all;
}

void TKVZMessage::ShowInfoALL(const std::string& title, const std::string& message, char kind, int number) {
  ShowInfo(title, Collected(message), kind, number);
}

void TKVZMessage::ShowEditInfoALL(const std::string& title, const std::string& message, char kind, int number) {
  ShowEditInfo(title, Collected(message), kind, number);
}

int TKVZMessage::ShowChooseALL(const std::string& third, const std::string& message, const std::string& first,
                               const std::string& second, const std::string& title) {
  return ShowChoose(third, Collected(message), first, second, title);
}

TKVZMessage& MessageComponent() {
  static TKVZMessage component;
  return component;
}

void InfoBox(const std::string& message, const std::string& title, int number) {
  MessageComponent().ShowInfo(title, message, 'i', number);
}

int AskBox(const std::string& message, const std::string& first, const std::string& second,
           const std::string& title, const std::string& third) {
  return MessageComponent().ShowChoose(third, message, first, second, title);
}

int AskThroughBoxes(std::string_view text, std::string_view title, const std::vector<std::string>& buttons) {
  if (buttons.empty()) {
    InfoBox(std::string(text), std::string(title));
    return 0;
  }
  auto at = [&](size_t i) { return i < buttons.size() ? buttons[i] : std::string(); };
  return AskBox(std::string(text), at(0), at(1), std::string(title), at(2));
}

ErrorBox ErrorBoxFor(ErrorKind kind, std::string ownMessage) {
  switch (kind) {
    case ErrorKind::InputMask:
      return {kErrorTitle, "Błędnie wprowadzona data.\n\rNaciśnij ESC aby przywrócić poprzednią.", '!', 10};
    case ErrorKind::Conversion:
      return {kErrorTitle, "Błędnie wprowadzona wartość.\n\r" + ownMessage, '!', 10};
    case ErrorKind::Other:
      break;
  }
  return {kErrorTitle, std::move(ownMessage), '!', 0};
}

void ReportError(ErrorKind kind, const std::string& ownMessage) {
  const ErrorBox box = ErrorBoxFor(kind, ownMessage);
  MessageComponent().ShowInfo(box.title, box.message, box.kind, box.number);
}

}  // namespace solv
