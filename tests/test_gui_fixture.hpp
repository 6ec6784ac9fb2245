// A fresh program folder with a data folder, a recording message provider
// and the main window, for the window tests.
#pragma once

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "main_window.hpp"
#include "page_window.hpp"
#include "services/message_service.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"

class GuiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("solv_gui_" + std::to_string(std::random_device{}()) + "_" + std::to_string(counter_++));
    std::filesystem::create_directories(folder_ / "SAVE");
    saved_ = solv::Store();
    solv::Store().programFolder = folder_;
    solv::Store().setFile.clear();
  }
  void TearDown() override {
    window_.reset();
    solv::Store() = saved_;
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // A new set of the main form opened, and the main window over it.
  solv::app::TFormOkno_glowne& WindowWithSet(const char* code, int way) {
    EXPECT_GT(solv::CreateSet(solv::DataFolder(), code, way), 0);
    window_ = std::make_unique<solv::app::TFormOkno_glowne>();
    window_->EnableFormActions();
    window_->show();
    QApplication::setActiveWindow(window_.get());
    return *window_;
  }

  solv::app::PageWindow& OpenPage(const std::string& cls, const std::string& instance) {
    window_->CreatePage(cls, instance);
    solv::app::PageWindow* p = window_->Page(instance);
    EXPECT_NE(p, nullptr);
    return *p;
  }

  static void Click(solv::app::PageWindow& page, const char* cell) {
    solv::TKVZEditField* f = page.Cell(cell);
    ASSERT_NE(f, nullptr) << cell;
    QTest::mouseClick(page.Sheet(), Qt::LeftButton, {}, page.CellRect(f).center());
  }
  static void Type(solv::app::PageWindow& page, const char* text) {
    QTest::keyClicks(page.Editor(), QString::fromUtf8(text));
  }
  static void Key(solv::app::PageWindow& page, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(page.Editor(), key, mods);
  }
  static std::string Stored(const char* key, const char* section) { return solv::ReadField(key, "", section); }

  std::filesystem::path folder_;
  solv::StoreState saved_;
  solv::RecordingMessageProvider messages_;
  solv::ScopedMessageProvider scoped_{&messages_};
  std::unique_ptr<solv::app::TFormOkno_glowne> window_;
  static inline int counter_ = 0;
};
