// A return set in a fresh temporary folder, opened as the current set.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "messages/messages.hpp"
#include "store/cp1250.hpp"
#include "store/store.hpp"

// The bytes of a file, and a file made of bytes.
inline std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
inline void PutBytes(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

class SetFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "solvtest-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    set_ = dir_ / "1.i10";
    solv::Store() = solv::StoreState{};
    solv::Store().programFolder = dir_;
    solv::ClearMessages();
  }
  void TearDown() override {
    solv::Store() = solv::StoreState{};
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // Writes the set file from UTF-8 lines ("\n" separated): Windows-1250, CRLF.
  // Then opens it (allowed flags from [MAIN] PIT).
  void WriteSet(std::string_view utf8Lines) {
    std::string crlf;
    for (char c : utf8Lines) {
      if (c == '\n') crlf += "\r\n";
      else crlf += c;
    }
    WriteBytes(solv::Utf8ToCp1250(crlf));
    solv::OpenSet(set_);
  }
  void WriteBytes(const std::string& bytes) { PutBytes(set_, bytes); }
  std::string FileBytes() const { return Bytes(set_); }

  std::filesystem::path dir_;
  std::filesystem::path set_;
};
