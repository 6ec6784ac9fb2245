// Builds RAR 4 archives byte by byte for tests: stored entries only (method
// 0x30), with correct header and data checksums unless a fault is asked for.
//
//   std::string bytes = rarfix::RarArchive({{"_Solv2010", "content"}, rarfix::Dir("sub")});
//   rarfix::WriteFile(dir / "upd.rar", bytes);
//
// Faults: Entry::damaged changes one data byte after its CRC was taken;
// Entry::badHeaderCrc spoils the header checksum; a truncated archive is a
// prefix of the bytes (substr), best built with Options::endBlock = false.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace rarfix {

enum class Kind { File, Directory, Symlink };

enum class NameForm {
  Plain,    // the name bytes as given, no Unicode flag
  Utf8,     // Unicode flag (0x200) with the UTF-8 name and no second part
  Unicode,  // Unicode flag: ASCII stand-in, a zero byte, then the encoded UTF-16 name
};

enum HostOs : std::uint8_t { kHostWindows = 2, kHostUnix = 3 };

struct Entry {
  std::string name;
  std::string data;             // file contents; for a symlink its target
  Kind kind = Kind::File;
  bool damaged = false;         // first data byte altered after the CRC was computed
  bool badHeaderCrc = false;    // header checksum off by one
  NameForm nameForm = NameForm::Plain;
  HostOs host = kHostWindows;   // a symlink is always written as a Unix entry
};

inline Entry File(std::string name, std::string data) { return Entry{std::move(name), std::move(data)}; }
inline Entry Dir(std::string name) { return Entry{std::move(name), {}, Kind::Directory}; }
inline Entry Symlink(std::string name, std::string target) {
  return Entry{std::move(name), std::move(target), Kind::Symlink};
}

struct Options {
  bool endBlock = true;  // the end-of-archive block (type 0x7b)
};

inline std::uint32_t Crc32(const std::string& bytes, std::uint32_t crc = 0) {
  static const auto table = [] {
    std::vector<std::uint32_t> t(256);
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

namespace detail {

inline void Put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// A block: HEAD_CRC (low 16 bits of the CRC32 of everything after it), type,
// flags, size, then the body.
inline std::string Block(std::uint8_t type, std::uint16_t flags, const std::string& body,
                         bool badCrc = false) {
  std::string head;
  head += static_cast<char>(type);
  Put16(head, flags);
  Put16(head, static_cast<std::uint32_t>(7 + body.size()));
  head += body;
  std::uint32_t crc = (Crc32(head) & 0xFFFF) + (badCrc ? 1 : 0);
  std::string out;
  Put16(out, crc & 0xFFFF);
  return out + head;
}

inline std::vector<std::uint16_t> Utf16(const std::string& utf8) {
  std::vector<std::uint16_t> out;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp;
    int more;
    if (c < 0x80) { cp = c; more = 0; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; more = 1; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; more = 2; }
    else throw std::invalid_argument("rarfix: only BMP names");
    for (int k = 1; k <= more; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8.at(i + k)) & 0x3F);
    out.push_back(static_cast<std::uint16_t>(cp));
    i += 1 + more;
  }
  return out;
}

// The RAR 4 Unicode name: a stand-in name ('_' for every non-ASCII character),
// a zero byte, the high byte (unused here), then groups of four characters,
// each led by a flag byte whose 2-bit codes say 0 = one byte with high byte 0,
// 2 = two bytes, low then high.
inline std::string UnicodeName(const std::string& utf8) {
  const std::vector<std::uint16_t> units = Utf16(utf8);
  std::string out;
  for (std::uint16_t u : units) out += u < 0x80 ? static_cast<char>(u) : '_';
  out += '\0';
  out += '\0';  // high byte
  for (std::size_t i = 0; i < units.size(); i += 4) {
    std::uint8_t flags = 0;
    std::string group;
    for (std::size_t k = 0; k < 4; ++k) {
      std::uint8_t code = 0;
      if (i + k < units.size()) {
        std::uint16_t u = units[i + k];
        if (u >> 8) {
          code = 2;
          group += static_cast<char>(u & 0xFF);
          group += static_cast<char>(u >> 8);
        } else {
          group += static_cast<char>(u);
        }
      }
      flags |= static_cast<std::uint8_t>(code << (6 - 2 * k));
    }
    out += static_cast<char>(flags);
    out += group;
  }
  return out;
}

}  // namespace detail

// 2010-06-01 12:00:00 in the DOS layout.
constexpr std::uint32_t kFileTime = ((2010u - 1980u) << 25) | (6u << 21) | (1u << 16) | (12u << 11);

inline std::string FileBlock(const Entry& e) {
  using namespace detail;
  const bool dir = e.kind == Kind::Directory;
  const bool link = e.kind == Kind::Symlink;
  const std::uint8_t host = link ? kHostUnix : e.host;
  std::uint32_t attr;
  if (host == kHostUnix) attr = link ? 0120777 : dir ? 040755 : 0100644;
  else attr = dir ? 0x10 : 0x20;
  std::uint16_t flags = 0x8000;  // the data size follows the header
  if (dir) flags |= 0x00E0;
  std::string name = e.name;
  if (e.nameForm != NameForm::Plain) {
    flags |= 0x0200;
    if (e.nameForm == NameForm::Unicode) name = UnicodeName(e.name);
  }
  std::string data = dir ? std::string() : e.data;
  const std::uint32_t crc = Crc32(data);
  if (e.damaged && !data.empty()) data[0] = static_cast<char>(data[0] ^ 0x55);

  std::string body;
  Put32(body, static_cast<std::uint32_t>(data.size()));  // packed size
  Put32(body, static_cast<std::uint32_t>(data.size()));  // unpacked size
  body += static_cast<char>(host);
  Put32(body, crc);
  Put32(body, kFileTime);
  body += static_cast<char>(29);    // version needed: 2.9
  body += static_cast<char>(0x30);  // stored
  Put16(body, static_cast<std::uint32_t>(name.size()));
  Put32(body, attr);
  body += name;
  return Block(0x74, flags, body, e.badHeaderCrc) + data;
}

inline std::string RarArchive(const std::vector<Entry>& entries, const Options& options = {}) {
  using namespace detail;
  std::string out("Rar!\x1a\x07\x00", 7);
  out += Block(0x73, 0, std::string(6, '\0'));  // archive header: two reserved fields
  for (const Entry& e : entries) out += FileBlock(e);
  if (options.endBlock) out += Block(0x7b, 0x4000, {});
  return out;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f.flush()) throw std::runtime_error("rarfix: cannot write " + path.string());
}

}  // namespace rarfix
