// The message markup as rich text, and user text made safe for messages.
#include <gtest/gtest.h>

#include <string>

#include "messages/markup.hpp"

namespace {

using solv::EscapeForMessage;
using solv::MarkupColour;
using solv::MarkupToRichText;

TEST(Markup, Colours) {
  EXPECT_EQ(MarkupColour("clRed"), "#ff0000");
  EXPECT_EQ(MarkupColour("clnavy"), "#000080");
  EXPECT_EQ(MarkupColour("clGreen"), "#008000");
  // Blue, green, red from the high to the low byte.
  EXPECT_EQ(MarkupColour("$000080FF"), "#ff8000");
  EXPECT_EQ(MarkupColour("$00FF0000"), "#0000ff");
  EXPECT_EQ(MarkupColour("$"), "");
  EXPECT_EQ(MarkupColour("$0000000000"), "");
  EXPECT_EQ(MarkupColour("$00GG0000"), "");
  EXPECT_EQ(MarkupColour("clPink"), "");
}

struct Case {
  const char* markup;
  const char* html;
};

TEST(Markup, ConversionTable) {
  const Case cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"<color=clRed>x", "<span style=\"color:#ff0000\">x</span>"},
      {"<COLOR=clNavy>x</Color>y", "<span style=\"color:#000080\">x</span>y"},
      {"<color=$00008000>x", "<span style=\"color:#008000\">x</span>"},
      {"<color=clRed>a<color=clGreen>b",
       "<span style=\"color:#ff0000\">a</span><span style=\"color:#008000\">b</span>"},
      {"<b>x</b>y", "<b>x</b>y"},
      {"a<br>b", "a<br>b"},
      {"(<link=PIT37a#P6>POKAŻ >>></link>)", "(<a href=\"PIT37a#P6\">POKAŻ &gt;&gt;&gt;</a>)"},
      {"<link=popraw#12,00#PIT37b#P99>POPRAW</link>", "<a href=\"popraw#12,00#PIT37b#P99\">POPRAW</a>"},
      // Nesting: the colour encloses the link, the link the bold text.
      {"<color=clRed><b>E <link=X#P1>go</link></b>",
       "<span style=\"color:#ff0000\"><b>E </b><a href=\"X#P1\"><b>go</b></a></span>"},
      // A colour change inside a link keeps the link and stays well nested.
      {"<link=X#P1>a<color=clRed>b</link>c",
       "<a href=\"X#P1\">a</a><span style=\"color:#ff0000\"><a href=\"X#P1\">b</a>c</span>"},
      // Bold left open and a link never closed are closed at the end.
      {"<b>x", "<b>x</b>"},
      {"<link=A#P2>x", "<a href=\"A#P2\">x</a>"},
      // Text is escaped, line ends become blanks.
      {"a & b \"q\"\r\nc", "a &amp; b &quot;q&quot; c"},
      {"<link=a\"b<c>t</link>", "<a href=\"a&quot;b&lt;c\">t</a>"},
      // Malformed or unknown elements show as text; stray closings vanish.
      {"<i>x</i>", "&lt;i&gt;x&lt;/i&gt;"},
      {"<color=clPink>x", "&lt;color=clPink&gt;x"},
      {"<link=>x</link>", "&lt;link=&gt;x"},
      {"a < b", "a &lt; b"},
      {"x<b", "x&lt;b"},
      {"</b></link></color>z", "z"},
      {"<<b>x</b>", "&lt;<b>x</b>"},
  };
  for (const Case& c : cases) EXPECT_EQ(MarkupToRichText(c.markup), c.html) << c.markup;
}

TEST(Markup, HeaderOfAMessageList) {
  const std::string html = MarkupToRichText(
      "<color=clRed><b>W formularzu występują błędy</b> <color=clGreen><b>lub uwagi</b><color=clRed><b> - liczba "
      "komunikatów:</b> 2<br><color=clNavy>Uwaga: Program sprawdza obliczenia.<br>");
  EXPECT_EQ(html,
            "<span style=\"color:#ff0000\"><b>W formularzu występują błędy</b> </span>"
            "<span style=\"color:#008000\"><b>lub uwagi</b></span>"
            "<span style=\"color:#ff0000\"><b> - liczba komunikatów:</b> 2<br></span>"
            "<span style=\"color:#000080\">Uwaga: Program sprawdza obliczenia.<br></span>");
}

TEST(Markup, ArbitraryBytesNeverBreakTheOutput) {
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += "<>=/$#colrbinkx\"&\n"[(i * 7919) % 18];
  const std::string html = MarkupToRichText(junk);
  // Every '<' written is one of our own elements.
  for (size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
    const std::string rest = html.substr(at, 8);
    EXPECT_TRUE(rest.starts_with("<span") || rest.starts_with("</span") || rest.starts_with("<a ") ||
                rest.starts_with("</a>") || rest.starts_with("<b>") || rest.starts_with("</b>") ||
                rest.starts_with("<br>"))
        << rest;
  }
}

TEST(Markup, EscapeForMessage) {
  EXPECT_EQ(EscapeForMessage("Kowalski <b>Jan</b>\r\nx"), "Kowalski ‹b›Jan‹/b› x");
  EXPECT_EQ(EscapeForMessage("Zażółć 50% & więcej"), "Zażółć 50% & więcej");
  // Escaped user text inside a message stays text.
  const std::string message = "<b>" + EscapeForMessage("<link=PIT37a#P6>x</link>") + "</b>";
  EXPECT_EQ(MarkupToRichText(message), "<b>‹link=PIT37a#P6›x‹/link›</b>");
}

}  // namespace
