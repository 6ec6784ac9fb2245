// The dictionaries: their two XML files and the window that edits them.
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "dictionary.hpp"
#include "dictionary_window.hpp"
#include "temp_folder.hpp"
#include "test_gui_fixture.hpp"

using solv::app::DataPacket;
using solv::app::Dictionaries;
using solv::app::DictionaryEntry;
using solv::app::DictionaryLoad;
using solv::app::TFormSlow;

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

class DictionaryTest : public ::testing::Test {
 protected:
  QString Folder() const { return QString::fromStdString(folder.Path().string()); }
  // The lists as a fresh open of the files finds them.
  Dictionaries Reopen() const {
    Dictionaries d;
    d.Open(Folder());
    return d;
  }
  std::vector<DictionaryEntry> EntriesOnDisk() const {
    DataPacket packet;
    EXPECT_TRUE(solv::app::ReadPacket(QByteArray::fromStdString(folder.Read("slo.xml")),
                                      solv::app::EntryFields(), packet));
    std::vector<DictionaryEntry> entries;
    for (const auto& row : packet.rows)
      entries.push_back({static_cast<std::uint16_t>(row[0].toUInt()), static_cast<std::uint16_t>(row[1].toUInt()),
                         row[2], row[3]});
    return entries;
  }
  static QStringList Rows(const TFormSlow& w) {
    QStringList rows;
    for (int r = 0; r < w.dbgLista->rowCount(); ++r) {
      QString row = w.dbgLista->item(r, 0)->text();
      if (w.dbgLista->columnCount() > 1) row += QStringLiteral("|") + w.dbgLista->item(r, 1)->text();
      rows << row;
    }
    return rows;
  }
  // Enters text in the open cell editor as typing would (its length limit
  // applies) and leaves it with Tab or Enter.
  static void TypeInCell(TFormSlow& w, const QString& text, Qt::Key leave = Qt::Key_Tab) {
    auto* editor = w.dbgLista->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    editor->insert(text);
    QTest::keyClick(editor, leave);
  }

  solv::test::TempFolder folder{"solvdict"};
};

}  // namespace

TEST_F(DictionaryTest, FirstStartWritesThreeGroupsAndNoEntries) {
  {
    TFormSlow w(2, Folder());
    EXPECT_EQ(w.dbgLista->columnCount(), 1);
    EXPECT_EQ(w.dbgLista->columnWidth(0), 417);
    EXPECT_EQ(w.windowTitle(), Q("Słownik (otwarty tylko do odczytu)"));
    EXPECT_EQ(w.Data().GroupsLoad(), DictionaryLoad::Created);
    w.reject();
  }
  const Dictionaries d = Reopen();
  EXPECT_EQ(d.GroupsLoad(), DictionaryLoad::Loaded);
  EXPECT_EQ(d.EntriesLoad(), DictionaryLoad::Loaded);
  ASSERT_EQ(d.groups.size(), 3u);
  EXPECT_EQ(d.groups[0].id, 1);
  EXPECT_EQ(d.groups[0].name, "PODMIOT");
  EXPECT_EQ(d.groups[1].name, "OSOBA");
  EXPECT_EQ(d.groups[2].id, 3);
  EXPECT_EQ(d.groups[2].name, "STAN CYWILNY");
  EXPECT_TRUE(d.entries.empty());
  EXPECT_EQ(folder.Read("gr.xml").rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0), 0u);

  TFormSlow subjects(1, Folder());
  EXPECT_EQ(subjects.dbgLista->columnCount(), 2);
  EXPECT_EQ(subjects.dbgLista->columnWidth(0), 211);
  EXPECT_EQ(subjects.dbgLista->columnWidth(1), 206);
}

TEST_F(DictionaryTest, NewSubjectBelongsToItsGroupOnly) {
  {
    TFormSlow w(1, Folder());
    EXPECT_FALSE(w.SBNew->isEnabled());
    QTest::mouseClick(w.SBOpcja, Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), Q("Słownik (otwarty do edycji)"));
    EXPECT_EQ(w.SBOpcja->text(), Q("&Wróć do przeglądania"));
    QTest::mouseClick(w.SBNew, Qt::LeftButton);
    EXPECT_TRUE(w.ChangePending());
    EXPECT_EQ(w.SBNew->text(), Q("Z&apisz"));
    EXPECT_FALSE(w.SBDelete->isEnabled());
    TypeInCell(w, Q("Urząd Skarbowy"));
    EXPECT_EQ(Rows(w), QStringList{Q("Urząd Skarbowy|")});
    QTest::mouseClick(w.SBNew, Qt::LeftButton);  // "Zapisz"
    EXPECT_FALSE(w.ChangePending());
    EXPECT_EQ(w.SBNew->text(), Q("&Nowy"));
    EXPECT_TRUE(w.SBDelete->isEnabled());
    QTest::mouseClick(w.SBWyjscie, Qt::LeftButton);
  }
  const auto entries = EntriesOnDisk();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].prid, 1);
  EXPECT_EQ(entries[0].str01, Q("Urząd Skarbowy"));

  TFormSlow persons(2, Folder());
  EXPECT_EQ(persons.dbgLista->rowCount(), 0);
  TFormSlow subjects(1, Folder());
  EXPECT_EQ(Rows(subjects), QStringList{Q("Urząd Skarbowy|")});
}

TEST_F(DictionaryTest, TextsHoldAtMostTwentyCharacters) {
  {
    TFormSlow w(3, Folder());
    QTest::mouseClick(w.SBOpcja, Qt::LeftButton);
    QTest::mouseClick(w.SBNew, Qt::LeftButton);
    TypeInCell(w, QStringLiteral("rozwiedziony od dawna i bez zmian"), Qt::Key_Return);
    QTest::mouseClick(w.SBOpcja, Qt::LeftButton);  // back to browsing stores it
    EXPECT_FALSE(w.ChangePending());
    w.reject();
  }
  const auto entries = EntriesOnDisk();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].prid, 3);
  EXPECT_EQ(entries[0].str01, QStringLiteral("rozwiedziony od dawn"));
}

TEST_F(DictionaryTest, CancelDropsAndDeleteRemovesAtOnce) {
  Dictionaries d = Reopen();
  d.entries = {{0, 2, Q("Anna"), {}}, {0, 1, Q("Firma"), Q("NIP")}, {0, 2, Q("Jan"), {}}};
  ASSERT_TRUE(d.Save());

  TFormSlow w(2, Folder());
  EXPECT_EQ(Rows(w), (QStringList{"Anna", "Jan"}));
  QTest::mouseClick(w.SBOpcja, Qt::LeftButton);
  // An edit that is dropped leaves the entry as it was.
  w.dbgLista->setCurrentCell(0, 0);
  w.dbgLista->editItem(w.dbgLista->item(0, 0));
  TypeInCell(w, QStringLiteral("Anna Maria"), Qt::Key_Return);
  EXPECT_TRUE(w.ChangePending());
  QTest::mouseClick(w.SBCancel, Qt::LeftButton);
  EXPECT_EQ(Rows(w), (QStringList{"Anna", "Jan"}));
  // A new entry that is dropped disappears.
  QTest::mouseClick(w.SBNew, Qt::LeftButton);
  QTest::mouseClick(w.SBCancel, Qt::LeftButton);
  EXPECT_EQ(Rows(w), (QStringList{"Anna", "Jan"}));
  // Delete asks nothing.
  w.dbgLista->setCurrentCell(0, 0);
  QTest::mouseClick(w.SBDelete, Qt::LeftButton);
  EXPECT_EQ(Rows(w), QStringList{"Jan"});
  w.reject();

  const auto entries = EntriesOnDisk();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].str01, "Firma");
  EXPECT_EQ(entries[1].str01, "Jan");
}

TEST_F(DictionaryTest, PendingTextIsKeptWhenTheWindowCloses) {
  {
    TFormSlow w(2, Folder());
    QTest::mouseClick(w.SBOpcja, Qt::LeftButton);
    QTest::mouseClick(w.SBNew, Qt::LeftButton);
    auto* editor = w.dbgLista->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("Ewa"));
    QTest::mouseClick(w.SBWyjscie, Qt::LeftButton);  // the editor is still open
  }
  const auto entries = EntriesOnDisk();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].str01, "Ewa");
}

TEST_F(DictionaryTest, BrowsingAllowsNoEditing) {
  Dictionaries d = Reopen();
  d.entries = {{0, 2, Q("Anna"), {}}};
  ASSERT_TRUE(d.Save());
  TFormSlow w(2, Folder());
  w.show();
  w.dbgLista->setCurrentCell(0, 0);
  QTest::keyClick(w.dbgLista, Qt::Key_X);
  QTest::keyClick(w.dbgLista, Qt::Key_Return);
  EXPECT_EQ(w.dbgLista->findChild<QLineEdit*>(), nullptr);
  EXPECT_FALSE(w.ChangePending());
  EXPECT_EQ(w.dbgLista->selectionBehavior(), QAbstractItemView::SelectRows);
  w.reject();
}

TEST_F(DictionaryTest, UnknownGroupShowsTheLastGroup) {
  Dictionaries d = Reopen();
  d.entries = {{0, 3, Q("kawaler"), {}}, {0, 1, Q("Firma"), {}}};
  ASSERT_TRUE(d.Save());
  TFormSlow w(7, Folder());
  EXPECT_EQ(w.GroupId(), 3);
  EXPECT_EQ(Rows(w), QStringList{"kawaler|"});
}

TEST_F(DictionaryTest, DamagedFilesAreKeptAsideAndReplaced) {
  const std::pair<const char*, std::string> cases[] = {
      {"not XML", "\x01\x02 to nie jest XML"},
      {"cut short", "<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"},
      {"another layout", "<?xml version=\"1.0\"?><lista><pozycja>Jan</pozycja></lista>"},
      {"other fields",
       "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"ID\" fieldtype=\"ui2\"/></FIELDS></METADATA>"
       "<ROWDATA/></DATAPACKET>"},
      {"number out of range",
       "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"ID\" fieldtype=\"ui2\"/>"
       "<FIELD attrname=\"PRID\" fieldtype=\"ui2\"/><FIELD attrname=\"Str01\" fieldtype=\"string\" WIDTH=\"20\"/>"
       "<FIELD attrname=\"Str02\" fieldtype=\"string\" WIDTH=\"20\"/></FIELDS></METADATA>"
       "<ROWDATA><ROW ID=\"0\" PRID=\"70000\" Str01=\"x\" Str02=\"\"/></ROWDATA></DATAPACKET>"},
  };
  int n = 0;
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    folder.Write("slo.xml", bytes);
    Dictionaries d;
    d.Open(Folder());
    EXPECT_EQ(d.EntriesLoad(), DictionaryLoad::Damaged);
    EXPECT_TRUE(d.entries.empty());
    ++n;
    const std::string aside = n == 1 ? "slo.xml.uszkodzony" : "slo.xml.uszkodzony" + std::to_string(n);
    ASSERT_EQ(d.KeptAside(), QStringList{QString::fromStdString((folder / aside).string())});
    EXPECT_EQ(folder.Read(aside), bytes);
    EXPECT_EQ(Reopen().EntriesLoad(), DictionaryLoad::Loaded);  // a fresh, readable list
  }
}

TEST_F(DictionaryTest, TextsRoundTripUnchanged) {
  const QString texts[] = {Q("  Zażółć gęślą jaźń "), Q(" ŁÓDŹ "), QStringLiteral("a & b <c> \"d\" 'e'"),
                           QStringLiteral("tab\there"), QString(), QStringLiteral(" ")};
  Dictionaries d = Reopen();
  d.groups[0].name = Q(" PODMIOT ");
  for (const QString& t : texts) d.entries.push_back({0, 1, t, t + QStringLiteral("!")});
  ASSERT_TRUE(d.Save());
  const Dictionaries back = Reopen();
  EXPECT_EQ(back.groups[0].name, Q(" PODMIOT "));
  ASSERT_EQ(back.entries.size(), std::size(texts));
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    EXPECT_EQ(back.entries[i].str01, texts[i]) << i;
    EXPECT_EQ(back.entries[i].str02, texts[i] + QStringLiteral("!")) << i;
  }
  // UTF-8 on disk.
  EXPECT_NE(folder.Read("gr.xml").find("PODMIOT"), std::string::npos);
  EXPECT_NE(folder.Read("slo.xml").find("Zażółć"), std::string::npos);
}

class DictionaryMenu : public GuiFixture {};

TEST_F(DictionaryMenu, SlownikiMenuOffersTheThreeLists) {
  auto& window = WindowWithSet("PIT37", 1);
  QMenu* menu = nullptr;
  for (QAction* a : window.menuBar()->actions())
    if (a->text() == Q("&Słowniki")) menu = a->menu();
  ASSERT_NE(menu, nullptr);
  QStringList captions;
  for (QAction* a : menu->actions()) captions << a->text();
  EXPECT_EQ(captions, (QStringList{"Podmioty", "Osoby", "Stany Cywilne"}));
  EXPECT_EQ(menu->actions()[0], window.Action(QStringLiteral("ActionSlownik")));
}
