#include "dictionary.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace solv::app {

namespace {

const QString kUi2 = QStringLiteral("ui2");
const QString kString = QStringLiteral("string");

// A 16-bit unsigned number written in decimal digits only.
bool ParseUi2(const QString& text, std::uint16_t& value) {
  if (text.isEmpty() || text.size() > 5) return false;
  unsigned n = 0;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    n = n * 10 + static_cast<unsigned>(c.unicode() - '0');
  }
  if (n > 0xFFFF) return false;
  value = static_cast<std::uint16_t>(n);
  return true;
}

bool SameFields(const std::vector<PacketField>& read, const std::vector<PacketField>& expected) {
  if (read.size() != expected.size()) return false;
  for (const PacketField& e : expected) {
    auto it = std::find_if(read.begin(), read.end(), [&](const PacketField& r) { return r.name == e.name; });
    if (it == read.end() || it->type != e.type) return false;
  }
  return true;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

// A free name beside path for a damaged file: "gr.xml.uszkodzony", then
// "gr.xml.uszkodzony2", ...
QString AsideName(const QString& path) {
  QString name = path + QStringLiteral(".uszkodzony");
  for (int n = 2; QFileInfo::exists(name); ++n) name = path + QStringLiteral(".uszkodzony") + QString::number(n);
  return name;
}

DataPacket GroupPacket(const std::vector<DictionaryGroup>& groups) {
  DataPacket packet{GroupFields(), {}};
  for (const DictionaryGroup& g : groups) packet.rows.push_back({QString::number(g.id), g.name});
  return packet;
}

DataPacket EntryPacket(const std::vector<DictionaryEntry>& entries) {
  DataPacket packet{EntryFields(), {}};
  for (const DictionaryEntry& e : entries)
    packet.rows.push_back({QString::number(e.id), QString::number(e.prid), e.str01, e.str02});
  return packet;
}

}  // namespace

const std::vector<PacketField>& GroupFields() {
  static const std::vector<PacketField> fields{{QStringLiteral("ID"), kUi2, 0},
                                               {QStringLiteral("Str01"), kString, kDictionaryTextLength}};
  return fields;
}

const std::vector<PacketField>& EntryFields() {
  static const std::vector<PacketField> fields{{QStringLiteral("ID"), kUi2, 0},
                                               {QStringLiteral("PRID"), kUi2, 0},
                                               {QStringLiteral("Str01"), kString, kDictionaryTextLength},
                                               {QStringLiteral("Str02"), kString, kDictionaryTextLength}};
  return fields;
}

QByteArray WritePacket(const DataPacket& packet) {
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.writeStartDocument(QStringLiteral("1.0"), true);
  xml.writeStartElement(QStringLiteral("DATAPACKET"));
  xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
  xml.writeStartElement(QStringLiteral("METADATA"));
  xml.writeStartElement(QStringLiteral("FIELDS"));
  for (const PacketField& f : packet.fields) {
    xml.writeEmptyElement(QStringLiteral("FIELD"));
    xml.writeAttribute(QStringLiteral("attrname"), f.name);
    xml.writeAttribute(QStringLiteral("fieldtype"), f.type);
    if (f.type == kString) xml.writeAttribute(QStringLiteral("WIDTH"), QString::number(f.width));
  }
  xml.writeEndElement();  // FIELDS
  xml.writeEmptyElement(QStringLiteral("PARAMS"));
  xml.writeEndElement();  // METADATA
  xml.writeStartElement(QStringLiteral("ROWDATA"));
  for (const auto& row : packet.rows) {
    xml.writeEmptyElement(QStringLiteral("ROW"));
    for (std::size_t i = 0; i < packet.fields.size() && i < row.size(); ++i)
      xml.writeAttribute(packet.fields[i].name, row[i]);
  }
  xml.writeEndElement();  // ROWDATA
  xml.writeEndElement();  // DATAPACKET
  xml.writeEndDocument();
  return bytes;
}

bool ReadPacket(const QByteArray& bytes, const std::vector<PacketField>& fields, DataPacket& packet) {
  packet = DataPacket{fields, {}};
  QXmlStreamReader xml(bytes);
  if (!xml.readNextStartElement() || xml.name() != QStringLiteral("DATAPACKET")) return false;
  std::vector<PacketField> declared;
  bool metadata = false;
  bool rowdata = false;
  while (xml.readNextStartElement()) {
    if (xml.name() == QStringLiteral("METADATA")) {
      metadata = true;
      while (xml.readNextStartElement()) {
        if (xml.name() != QStringLiteral("FIELDS")) {
          xml.skipCurrentElement();
          continue;
        }
        while (xml.readNextStartElement()) {
          if (xml.name() == QStringLiteral("FIELD")) {
            const auto a = xml.attributes();
            declared.push_back({a.value(QStringLiteral("attrname")).toString(),
                                a.value(QStringLiteral("fieldtype")).toString(),
                                a.value(QStringLiteral("WIDTH")).toInt()});
          }
          xml.skipCurrentElement();
        }
      }
      if (!SameFields(declared, fields)) return false;
    } else if (xml.name() == QStringLiteral("ROWDATA")) {
      if (!metadata) return false;
      rowdata = true;
      while (xml.readNextStartElement()) {
        if (xml.name() == QStringLiteral("ROW")) {
          const auto a = xml.attributes();
          std::vector<QString> row;
          for (const PacketField& f : fields) {
            QString value = a.value(f.name).toString();
            std::uint16_t number = 0;
            if (f.type == kUi2) {
              if (value.isEmpty()) value = QStringLiteral("0");
              else if (!ParseUi2(value, number)) return false;
            }
            row.push_back(value);
          }
          packet.rows.push_back(std::move(row));
        }
        xml.skipCurrentElement();
      }
    } else {
      xml.skipCurrentElement();
    }
  }
  // Nothing may follow the packet but blanks and comments.
  while (!xml.atEnd() && !xml.hasError()) xml.readNext();
  return metadata && rowdata && !xml.hasError();
}

void Dictionaries::Open(const QString& folder) {
  folder_ = folder;
  keptAside_.clear();
  groups.clear();
  entries.clear();

  // Reads one file; a missing file or one that is not a list is replaced by
  // `fresh`. A file that exists but cannot be read is moved aside first; when
  // even that fails it is left alone and never written over.
  auto open = [this](const char* name, const std::vector<PacketField>& fields, DataPacket& packet,
                     const DataPacket& fresh, bool& keep) {
    const QString path = QDir(folder_).filePath(QString::fromLatin1(name));
    QFile file(path);
    keep = false;
    DictionaryLoad load = DictionaryLoad::Created;
    if (file.exists()) {
      if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        file.close();
        if (ReadPacket(bytes, fields, packet)) return DictionaryLoad::Loaded;
        load = DictionaryLoad::Damaged;
      }
      const QString aside = AsideName(path);
      if (!QFile::rename(path, aside)) {
        keep = true;
        packet = fresh;
        return load;
      }
      keptAside_ << aside;
    }
    packet = fresh;
    WriteFile(path, WritePacket(fresh));
    return load;
  };

  DataPacket packet;
  groupsLoad_ = open(kGroupsFile, GroupFields(), packet,
                     GroupPacket({{1, QStringLiteral("PODMIOT")},
                                  {2, QStringLiteral("OSOBA")},
                                  {3, QStringLiteral("STAN CYWILNY")}}),
                     keepGroups_);
  for (const auto& row : packet.rows) {
    DictionaryGroup g;
    ParseUi2(row[0], g.id);
    g.name = row[1];
    groups.push_back(g);
  }
  entriesLoad_ = open(kEntriesFile, EntryFields(), packet, EntryPacket({}), keepEntries_);
  for (const auto& row : packet.rows) {
    DictionaryEntry e;
    ParseUi2(row[0], e.id);
    ParseUi2(row[1], e.prid);
    e.str01 = row[2];
    e.str02 = row[3];
    entries.push_back(e);
  }
}

bool Dictionaries::Save() const {
  const QDir dir(folder_);
  const bool groupsSaved =
      !keepGroups_ && WriteFile(dir.filePath(QString::fromLatin1(kGroupsFile)), WritePacket(GroupPacket(groups)));
  const bool entriesSaved =
      !keepEntries_ && WriteFile(dir.filePath(QString::fromLatin1(kEntriesFile)), WritePacket(EntryPacket(entries)));
  return groupsSaved && entriesSaved;
}

}  // namespace solv::app
