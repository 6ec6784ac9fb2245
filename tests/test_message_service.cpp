// Message boxes: the collected text of the message component, the boxes
// reaching the provider, questions without a provider, the Asker of the
// message boxes, and the boxes of unhandled errors.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "services/message_service.hpp"
#include "util/asker.hpp"

namespace {

using solv::RecordingMessageProvider;
using Function = RecordingMessageProvider::Function;

TEST(MessageComponent, AddInfoCollectsTrimmedLines) {
  const struct {
    std::vector<std::string> added;
    std::string collected;
    bool isMessage;
  } cases[] = {
      {{" a ", "b"}, "a\nb", true},
      {{"   "}, "", false},
      {{"\t\r\n"}, "", false},
      {{"  ", "x"}, "x", true},
      {{"a", "   ", "b"}, "a\n\nb", true},
      {{"\ta b\r\n"}, "a b", true},
      {{}, "", false},
  };
  for (const auto& c : cases) {
    solv::TKVZMessage m;
    for (const auto& t : c.added) m.AddInfo(t);
    EXPECT_EQ(m.CollectedText(), c.collected) << ::testing::PrintToString(c.added);
    EXPECT_EQ(m.IsMessage(), c.isMessage) << ::testing::PrintToString(c.added);
  }
}

TEST(MessageComponent, AllVariantsPutTheCollectedTextFirstAndEmptyIt) {
  RecordingMessageProvider rec;
  solv::ScopedMessageProvider scope(&rec);
  rec.answers = {2};
  solv::TKVZMessage m;

  m.AddInfo(" a ");
  m.AddInfo("b");
  m.ShowInfoALL("T", "end", 'i', 3);
  EXPECT_FALSE(m.IsMessage());
  EXPECT_EQ(m.CollectedText(), "");

  m.AddInfo("c");
  m.ShowEditInfoALL("T2", "more", '!', 0);
  m.AddInfo("d");
  EXPECT_EQ(m.ShowChooseALL("", "pick", "&TAK", "&NIE", "Q"), 2);
  EXPECT_FALSE(m.IsMessage());
  // Nothing collected: the message still follows a line feed.
  m.ShowInfoALL("T3", "alone", 'i', 0);

  ASSERT_EQ(rec.calls.size(), 4u);
  EXPECT_EQ(rec.calls[0].function, Function::Info);
  EXPECT_EQ(rec.calls[0].message, "a\nb\nend");
  EXPECT_EQ(rec.calls[0].number, 3);
  EXPECT_EQ(rec.calls[1].function, Function::EditInfo);
  EXPECT_EQ(rec.calls[1].message, "c\nmore");
  EXPECT_EQ(rec.calls[1].kind, '!');
  EXPECT_EQ(rec.calls[2].function, Function::Choose);
  EXPECT_EQ(rec.calls[2].message, "d\npick");
  EXPECT_EQ(rec.calls[3].message, "\nalone");
}

TEST(MessageBoxes, InfoBoxAndAskBoxPassTheirArgumentsInPlace) {
  RecordingMessageProvider rec;
  solv::ScopedMessageProvider scope(&rec);
  rec.answers = {3, 1};

  solv::InfoBox("Błąd: Plik jest uszkodzony x", "Informacja", 0);
  EXPECT_EQ(solv::AskBox("Pytanie?", "Nowy", "Wczytaj", "Informacja", "Anuluj"), 3);
  EXPECT_EQ(solv::AskBox("Czy?", "&TAK", "&NIE", "Informacja"), 1);
  EXPECT_EQ(solv::AskBox("Czy znowu?", "&TAK", "&NIE", "Informacja"), -1);  // queue empty

  ASSERT_EQ(rec.calls.size(), 4u);
  const auto& info = rec.calls[0];
  EXPECT_EQ(info.function, Function::Info);
  EXPECT_EQ(info.title, "Informacja");
  EXPECT_EQ(info.message, "Błąd: Plik jest uszkodzony x");
  EXPECT_EQ(info.kind, 'i');
  EXPECT_EQ(info.number, 0);
  const auto& ask = rec.calls[1];
  EXPECT_EQ(ask.function, Function::Choose);
  EXPECT_EQ(ask.message, "Pytanie?");
  EXPECT_EQ(ask.first, "Nowy");
  EXPECT_EQ(ask.second, "Wczytaj");
  EXPECT_EQ(ask.third, "Anuluj");
  EXPECT_EQ(ask.title, "Informacja");
  EXPECT_EQ(rec.calls[2].third, "");
}

TEST(MessageBoxes, TheBoxesAskerPutsButtonsInPlaceAndNoticesInAnInformationBox) {
  const struct {
    std::vector<std::string> buttons;
    Function function;
    std::string first, second, third;
    int answer;  // the answer queued, and returned for a question
  } cases[] = {
      {{"&TAK", "&NIE"}, Function::Choose, "&TAK", "&NIE", "", 2},
      {{"Nowy", "Wczytaj", "Anuluj"}, Function::Choose, "Nowy", "Wczytaj", "Anuluj", 3},
      {{"podatnik", "małżonek"}, Function::Choose, "podatnik", "małżonek", "", 1},
      {{}, Function::Info, "", "", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.buttons));
    RecordingMessageProvider rec;
    solv::ScopedMessageProvider scope(&rec);
    rec.answers = {c.answer};
    const solv::Asker ask = solv::AskThroughBoxes;
    EXPECT_EQ(solv::Ask(ask, "Tekst?", "Informacja", c.buttons), c.answer);
    ASSERT_EQ(rec.calls.size(), 1u);
    const auto& call = rec.calls[0];
    EXPECT_EQ(call.function, c.function);
    EXPECT_EQ(call.message, "Tekst?");
    EXPECT_EQ(call.title, "Informacja");
    EXPECT_EQ(std::tie(call.first, call.second, call.third), std::tie(c.first, c.second, c.third));
    if (c.function == Function::Info) {
      EXPECT_EQ(call.kind, 'i');
      EXPECT_EQ(call.number, 0);
      EXPECT_EQ(rec.answers.size(), 1u) << "a notice takes no answer";
    }
  }
}

TEST(MessageBoxes, WithNobodyToAskThereIsNoAnswerAndNothingIsTold) {
  RecordingMessageProvider rec;
  solv::ScopedMessageProvider scope(&rec);
  const solv::Asker nobody;
  EXPECT_EQ(solv::Ask(nobody, "Czy?", "Informacja", {"&TAK", "&NIE"}), -1);
  solv::Tell(nobody, "Uwaga", "Informacja");
  EXPECT_TRUE(rec.calls.empty());
}

TEST(MessageBoxes, WithoutAProviderNothingIsShownAndQuestionsAnswerMinusOne) {
  solv::ScopedMessageProvider scope(nullptr);
  solv::InfoBox("x", "Informacja");
  solv::ReportError(solv::ErrorKind::Other, "x");
  EXPECT_EQ(solv::AskBox("Czy?", "&TAK", "&NIE", "Informacja"), -1);
  EXPECT_EQ(solv::MessageComponent().ShowChoose("", "m", "a", "b", "t"), -1);
}

TEST(MessageBoxes, ScopedProviderPutsThePreviousOneBack) {
  RecordingMessageProvider outer, inner;
  solv::ScopedMessageProvider a(&outer);
  {
    solv::ScopedMessageProvider b(&inner);
    solv::InfoBox("in", "t");
  }
  solv::InfoBox("out", "t");
  ASSERT_EQ(inner.calls.size(), 1u);
  ASSERT_EQ(outer.calls.size(), 1u);
  EXPECT_EQ(outer.calls[0].message, "out");
}

TEST(ErrorHandler, BoxesOfTheThreeKindsOfError) {
  const struct {
    solv::ErrorKind kind;
    const char* own;
    solv::ErrorBox box;
  } cases[] = {
      {solv::ErrorKind::InputMask, "ignored",
       {"Informacja - Błąd", "Błędnie wprowadzona data.\n\rNaciśnij ESC aby przywrócić poprzednią.", '!', 10}},
      {solv::ErrorKind::Conversion, "Wrong value", {"Informacja - Błąd", "Błędnie wprowadzona wartość.\n\rWrong value", '!', 10}},
      {solv::ErrorKind::Other, "Unable to write to /x/1.i10", {"Informacja - Błąd", "Unable to write to /x/1.i10", '!', 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(solv::ErrorBoxFor(c.kind, c.own), c.box) << c.own;

    RecordingMessageProvider rec;
    solv::ScopedMessageProvider scope(&rec);
    solv::ReportError(c.kind, c.own);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].function, Function::Info);
    EXPECT_EQ(rec.calls[0].title, c.box.title);
    EXPECT_EQ(rec.calls[0].message, c.box.message);
    EXPECT_EQ(rec.calls[0].kind, '!');
    EXPECT_EQ(rec.calls[0].number, c.box.number);
  }
}

}  // namespace
