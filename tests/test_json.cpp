// JSON strings of any text read back as that text.
#include <gtest/gtest.h>

#include <string>

#include "json_reader.hpp"
#include "util/json.hpp"

namespace {

TEST(JsonString, AnyTextReadsBackAsItself) {
  const std::string cases[] = {
      "",
      "Zażółć gęślą jaźń",
      "\"\"pomagam podatkiem\"\"",
      "C:\\SAVE\\1.i10",
      "wiersz\r\ndrugi\tz tabulatorem",
      std::string("\x01\x1f bell \x07", 10),
      "POKAŻ >>> </link> <b>",
  };
  for (const std::string& text : cases) {
    const std::string json = solv::JsonString(text);
    const std::optional<Json> read = JsonReader::Read(json);
    ASSERT_TRUE(read) << json;
    EXPECT_EQ(read->string, text) << json;
  }
}

}  // namespace
