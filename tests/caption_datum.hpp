// The printed caption of a box and the datum it names, for the tests that
// hold values against captions (identification copying, example sets).
#pragma once

#include <cctype>
#include <string>
#include <utility>

#include "report/page_definition.hpp"
#include "report/print_page.hpp"

// The printed caption of box n of a form instance (its first-page name, or a
// spouse's variant, which shows the pages of its form).
inline std::string CaptionOf(const std::string& section, int n) {
  const std::string base = section.substr(0, section.find('_'));
  const std::string key = "p" + std::to_string(n);
  for (const auto& page : solv::PageCatalogue()) {
    if (solv::DefaultInstanceOf(page.info) != base) continue;
    for (const auto& c : page.cells)
      if (c.name == key) return c.caption;
  }
  return "<no box " + key + " on " + base + ">";
}

// The datum a caption names: the same on every form, whatever the wording
// around it ("Data urodzenia (dzień - miesiąc - rok)", "NIP małżonka"); the
// caption itself when it names none of them.
inline std::string Datum(const std::string& caption) {
  std::string lower;
  for (unsigned char c : caption) lower += static_cast<char>(std::tolower(c));
  // A whole word: no letter (ASCII or a byte of a UTF-8 letter) around it.
  auto letter = [&](size_t i) {
    const unsigned char c = static_cast<unsigned char>(lower[i]);
    return std::isalpha(c) || c >= 0x80;
  };
  auto hasWord = [&](const std::string& word) {
    for (size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1))
      if ((at == 0 || !letter(at - 1)) && (at + word.size() >= lower.size() || !letter(at + word.size())))
        return true;
    return false;
  };
  static const std::pair<const char*, const char*> kData[] = {
      {"nip", "NIP"},          {"nazwisko", "surname"},   {"imię", "first name"},  {"data urodzenia", "birth date"},
      {"pesel", "PESEL"},      {"regon", "REGON"},        {"kraj", "country"},     {"województwo", "voivodeship"},
      {"powiat", "county"},    {"gmina", "commune"},      {"ulica", "street"},     {"nr domu", "house"},
      {"nr lokalu", "flat"},   {"miejscowość", "town"},   {"kod pocztowy", "post code"}, {"poczta", "post office"},
  };
  for (const auto& [word, datum] : kData)
    if (hasWord(word)) return datum;
  return caption;
}

