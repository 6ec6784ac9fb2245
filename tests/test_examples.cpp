// The example sets put every value in a box the form has, of the box's kind,
// and identification data under the caption that names them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "caption_datum.hpp"
#include "set_fixture.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"

namespace {

namespace fs = std::filesystem;

// What a value of each identification datum looks like.
const std::map<std::string, std::regex>& DatumShapes() {
  static const std::map<std::string, std::regex> shapes = {
      {"NIP", std::regex(R"(\d{10}|\d{3}-\d{3}-\d{2}-\d{2}|\d{3}-\d{2}-\d{2}-\d{3})")},
      {"PESEL", std::regex(R"(\d{11})")},
      {"REGON", std::regex(R"(\d{9}|\d{14})")},
      {"birth date", std::regex(R"(\d{2}-\d{2}-\d{4})")},
      {"post code", std::regex(R"(\d{2}-\d{3})")},
      {"house", std::regex(R"(\d+[A-Za-z]?(/\d+)?)")},
      {"flat", std::regex(R"(\d+[A-Za-z]?)")},
      // Names and places: no digits.
      {"surname", std::regex(R"([^0-9]+)")},
      {"first name", std::regex(R"([^0-9]+)")},
      {"country", std::regex(R"([^0-9]+)")},
      {"voivodeship", std::regex(R"([^0-9]+)")},
      {"county", std::regex(R"([^0-9]+)")},
      {"commune", std::regex(R"([^0-9]+)")},
      {"town", std::regex(R"([^0-9]+)")},
      {"post office", std::regex(R"([^0-9]+)")},
  };
  return shapes;
}

const solv::CellInfo* CellOf(const std::string& section, const std::string& key) {
  const std::string base = section.substr(0, section.find('_'));
  for (const auto& page : solv::PageCatalogue()) {
    if (solv::DefaultInstanceOf(page.info) != base) continue;
    for (const auto& c : page.cells)
      if (solv::SameName(c.name, key)) return &c;
  }
  return nullptr;
}

class ExampleSets : public SetFixture {};

TEST_F(ExampleSets, EveryValueSitsInABoxThatHoldsIt) {
  static const std::regex money(R"(-?\d+(,\d{1,2})?)"), integer(R"(-?\d+)");
  int examples = 0;
  for (const auto& e : fs::directory_iterator(EXAMPLES_DIR)) {
    if (e.path().extension() != ".i10") continue;
    ++examples;
    set_ = dir_ / e.path().filename();
    fs::copy_file(e.path(), set_);
    solv::OpenSet(set_);
    for (const std::string& section : solv::SetStore().Sections()) {
      if (section == "MAIN") continue;
      for (const auto& [key, value] : solv::SetStore().Entries(section)) {
        const std::string where = e.path().filename().string() + " [" + section + "] " + key + "=" + value;
        const solv::CellInfo* cell = CellOf(section, key);
        if (!cell) {
          ADD_FAILURE() << where << ": the form has no such box";
          continue;
        }
        const std::string v = solv::ReadField(key, {}, section);
        if (v.empty()) continue;
        switch (cell->kind) {
          case solv::CellKind::Money: EXPECT_TRUE(std::regex_match(v, money)) << where; break;
          case solv::CellKind::Integer: EXPECT_TRUE(std::regex_match(v, integer)) << where; break;
          case solv::CellKind::Check: EXPECT_TRUE(v == "[X]" || v == "[  ]") << where; break;
          case solv::CellKind::Text: {
            const auto shape = DatumShapes().find(Datum(cell->caption));
            if (shape != DatumShapes().end())
              EXPECT_TRUE(std::regex_match(v, shape->second)) << where << " under «" << cell->caption << "»";
            break;
          }
        }
      }
    }
  }
  EXPECT_GE(examples, 12);
}

}  // namespace
