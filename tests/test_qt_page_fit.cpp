// Every printed text of the pages fits its frame with the faces the
// program draws with, on screen and on paper (whole point sizes).
#include <gtest/gtest.h>

#include <string>

#include "qt_canvas.hpp"
#include "report/page_definition.hpp"

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

TEST(PageFit, EveryLabelFitsOnScreenAndInPrint) {
  for (const auto& page : solv::PageCatalogue()) {
    const auto problems = solv::LabelFitProblemsDrawn(page);
    EXPECT_TRUE(problems.empty()) << page.info.className << ":\n" << Joined(problems);
  }
}

// A 14 px text prints in 11 pt, about 5 % wider: a frame that holds it on
// screen exactly cuts it on paper, and a wrapped text that needs one more
// line in print is cut at the bottom.
TEST(PageFit, PrintMetricsAreWiderThanTheScreen) {
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  solv::QtCanvas screen(painter, 96);
  solv::Font font;
  font.height = -14;
  font.style = solv::fsBold;
  screen.SetFont(font);
  const std::string title = "ZEZNANIE O WYSOKOŚCI OSIĄGNIĘTEGO DOCHODU";
  const int width = screen.MeasureText(title, {0, 0, 1, 1}, 0).Width();
  auto page = [&](int w) {
    return solv::ParsePageDefinition(
        "page TX name=X tag=1 pages=1 form=X height=1121 report=x title=x click=p1Click\n"
        "label 10 10 " + std::to_string(w) + " 20 \"" + title + "\" size=14 bold\n");
  };
  const auto tight = solv::LabelFitProblemsDrawn(page(width));
  ASSERT_EQ(tight.size(), 1u) << Joined(tight);
  EXPECT_NE(tight[0].find("w druku"), std::string::npos) << tight[0];
  EXPECT_TRUE(solv::LabelFitProblemsDrawn(page(width * 106 / 100)).empty());
  const auto narrow = solv::LabelFitProblemsDrawn(page(width - 10));
  EXPECT_EQ(narrow.size(), 2u) << Joined(narrow);  // on screen and in print
}

}  // namespace
