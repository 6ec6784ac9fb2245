// The identification copying against the printed captions: a value copied
// between two forms lands in the box whose caption names the same datum, for
// every pair of forms that exchange identification, in both directions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/identification.hpp"
#include "caption_datum.hpp"
#include "set_fixture.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"

namespace {

using namespace solv;

// Box numbers of block b of a form's identification row, as the copying
// reads them (PIT-28 skips its box 11 past the fourth box, PIT-2K swaps the
// third and fourth).
std::vector<int> BlockBoxes(int form, int b) {
  const IdBlock block = kIdentificationTable[form][b];
  std::vector<int> boxes;
  for (int i = 0; i < block.count; ++i) boxes.push_back(block.first + i);
  if (form == kPIT28 && block.count > 4) boxes.push_back(block.first + block.count);
  return boxes;
}

class IdentificationCaptions : public SetFixture {};

TEST_F(IdentificationCaptions, EveryCopiedValueLandsUnderTheCaptionOfItsDatum) {
  int sets = 0, compared = 0;
  for (int main = kPIT28; main <= kPIT39; ++main) {
    const auto allowed = AllowedFormsOf(kMainFormCodes[main]);
    for (int other = kPITB; other < kFormCount; ++other) {
      if (!allowed[other]) continue;
      for (const bool toAttachment : {true, false}) {
        const int source = toAttachment ? main : other, target = toAttachment ? other : main;
        const std::string from = kFormBaseNames[source], to = kFormBaseNames[target];
        SCOPED_TRACE(from + " -> " + to);
        // The source's identification boxes hold their captions and whose
        // they are; joint taxation, so the spouse's data travel too.
        std::string text = std::string("[MAIN]\nPIT=") + kMainFormCodes[main] + "\nVER=10\n[" + from + "]\n";
        if (source == main && (main == kPIT36 || main == kPIT37)) text += "P6B=[X]\n";
        for (int b = 0; b < 4; ++b)
          if (kIdentificationTable[source][b].first > 0)
            for (int n : BlockBoxes(source, b))
              text += "P" + std::to_string(n) + "=" + CaptionOf(from, n) + (b < 2 ? "|P" : "|M") + "\n";
        if (target == main && (main == kPIT36 || main == kPIT37)) text += "[" + to + "]\nP6B=[X]\n";
        set_ = dir_ / (std::to_string(++sets) + ".i10");
        WriteSet(text);
        CopyIdentification(source, target, true, {}, {});

        for (int b = 0; b < 4; ++b) {
          if (kIdentificationTable[target][b].first <= 0) continue;
          for (int n : BlockBoxes(target, b)) {
            const std::string value = ReadField("p" + std::to_string(n), {}, to);
            if (value.empty()) continue;
            const std::string caption = CaptionOf(to, n);
            const size_t bar = value.rfind('|');
            ASSERT_NE(bar, std::string::npos) << to << " p" << n << " holds " << value;
            EXPECT_EQ(Datum(value.substr(0, bar)), Datum(caption))
                << to << " p" << n << " «" << caption << "» received «" << value << "»";
            EXPECT_EQ(value.substr(bar + 1), b < 2 ? "P" : "M") << to << " p" << n << " received " << value;
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_GT(compared, 400);  // the copying reached the forms at all
}

}  // namespace
