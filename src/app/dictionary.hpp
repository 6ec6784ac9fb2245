// The user's reference lists (subjects, persons, marital states): the groups
// in "gr.xml" and the entries of all groups in "slo.xml", both XML data
// packets in UTF-8 beside the program.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace solv::app {

struct DictionaryGroup {
  std::uint16_t id = 0;
  QString name;  // Str01
};

struct DictionaryEntry {
  std::uint16_t id = 0;    // not filled by the window
  std::uint16_t prid = 0;  // the group of the entry
  QString str01;
  QString str02;           // subjects only
};

// One field of a data packet as its metadata states it.
struct PacketField {
  QString name;
  QString type;   // "ui2" or "string"
  int width = 0;  // strings: the most characters
};

// A data packet: its fields and its rows, one text per field.
struct DataPacket {
  std::vector<PacketField> fields;
  std::vector<std::vector<QString>> rows;
};

inline constexpr int kDictionaryTextLength = 20;
inline constexpr const char* kGroupsFile = "gr.xml";
inline constexpr const char* kEntriesFile = "slo.xml";

// The packet as UTF-8 XML text.
QByteArray WritePacket(const DataPacket& packet);
// Reads a packet whose fields must be exactly `fields` (names and types);
// false for anything else (not XML, another layout, a number out of range).
bool ReadPacket(const QByteArray& xml, const std::vector<PacketField>& fields, DataPacket& packet);

const std::vector<PacketField>& GroupFields();
const std::vector<PacketField>& EntryFields();

enum class DictionaryLoad {
  Loaded,
  Created,  // the file was missing or could not be opened; a new one was written
  Damaged,  // the file could not be read as a list; it was kept aside and a new one written
};

class Dictionaries {
 public:
  // Opens both files in folder, creating what is missing: groups 1 "PODMIOT",
  // 2 "OSOBA", 3 "STAN CYWILNY" and an empty entry list. A file that exists
  // but cannot be read as a list is first renamed aside (see KeptAside).
  void Open(const QString& folder);
  // Writes both files; false when either could not be written. A file that
  // could be neither read nor moved aside is never written over.
  bool Save() const;

  std::vector<DictionaryGroup> groups;
  std::vector<DictionaryEntry> entries;

  DictionaryLoad GroupsLoad() const { return groupsLoad_; }
  DictionaryLoad EntriesLoad() const { return entriesLoad_; }
  // Where damaged files were moved (empty when none).
  const QStringList& KeptAside() const { return keptAside_; }

 private:
  QString folder_;
  DictionaryLoad groupsLoad_ = DictionaryLoad::Loaded;
  DictionaryLoad entriesLoad_ = DictionaryLoad::Loaded;
  QStringList keptAside_;
  bool keepGroups_ = false;  // a file that could be neither read nor moved aside
  bool keepEntries_ = false;
};

}  // namespace solv::app
