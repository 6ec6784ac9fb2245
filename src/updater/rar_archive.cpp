#include "rar_archive.hpp"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "updater/update_list.hpp"

namespace solv {

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  const auto* p = static_cast<const unsigned char*>(data);
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

// libarchive converts entry names to the multibyte text of the current
// locale; under the C locale Polish letters would be lost. While an archive
// is read, this thread uses UTF-8 for character types, so names arrive as UTF-8.
class Utf8Names {
 public:
  Utf8Names() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr))) {
    if (utf8_) previous_ = uselocale(utf8_);
  }
  ~Utf8Names() {
    if (!utf8_) return;
    uselocale(previous_);
    freelocale(utf8_);
  }
  Utf8Names(const Utf8Names&) = delete;
  Utf8Names& operator=(const Utf8Names&) = delete;

 private:
  locale_t utf8_;
  locale_t previous_ = static_cast<locale_t>(nullptr);
};

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(Fd&& other) noexcept : fd_(other.Release()) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// An error that libarchive reported while reading headers or data.
int ReadError(archive* a) {
  switch (archive_errno(a)) {
    case ENOMEM: return kRarNoMemory;
    case EIO: return kRarReadFailed;
    default: return kRarBadData;  // format errors, checksums, truncation
  }
}

std::uint32_t Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const unsigned char* p) { return Le16(p) | (Le16(p + 2) << 16); }

bool ReadAt(int fd, std::uint64_t pos, void* buf, std::size_t size) {
  auto* p = static_cast<char*>(buf);
  while (size > 0) {
    ssize_t n = ::pread(fd, p, size, static_cast<off_t>(pos));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    pos += static_cast<std::uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The data checksums of the file headers of a RAR 4 archive, in archive
// order. libarchive does not check them for every kind of entry, nor does it
// hand them out, so extraction compares them itself. The walk follows the
// block sizes as libarchive does and stops at the end block or at the first
// block it cannot read.
std::vector<std::uint32_t> Rar4FileCrcs(int fd) {
  static const char kMarker[] = "Rar!\x1a\x07\x00";
  std::vector<std::uint32_t> crcs;
  std::string head(1 << 20, '\0');
  ssize_t got = ::pread(fd, head.data(), head.size(), 0);
  if (got < 7) return crcs;
  head.resize(static_cast<std::size_t>(got));
  std::size_t marker = head.find(std::string(kMarker, 7));
  if (marker == std::string::npos) return crcs;
  std::uint64_t pos = marker + 7;
  for (;;) {
    unsigned char b[36];
    if (!ReadAt(fd, pos, b, 7)) break;
    const unsigned type = b[2];
    const std::uint32_t flags = Le16(b + 3);
    const std::uint32_t size = Le16(b + 5);
    if (size < 7 || type == 0x7b) break;
    std::uint64_t next = pos + size;
    if (type == 0x74 || type == 0x7a) {  // file and service headers: the packed data follows
      if (size < 32 || !ReadAt(fd, pos, b, (flags & 0x100) ? 36 : 32)) break;
      std::uint64_t packed = Le32(b + 7);
      if (flags & 0x100) packed |= static_cast<std::uint64_t>(Le32(b + 32)) << 32;
      next += packed;
      if (type == 0x74) crcs.push_back(Le32(b + 16));
    } else if (type != 0x73 && (flags & 0x8000)) {
      if (size < 11 || !ReadAt(fd, pos, b, 11)) break;
      next += Le32(b + 7);
    }
    pos = next;
  }
  return crcs;
}

// An archive opened for reading through libarchive.
class Reader {
 public:
  Reader() : a_(archive_read_new()) {}
  ~Reader() {
    if (a_) archive_read_free(a_);
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // 0, or the code of the failure: 15 the file cannot be opened, 13 not a RAR archive.
  int Open(const std::string& name) {
    if (!a_) return kRarNoMemory;
    fd_ = Fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd_) return kRarOpenFailed;
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0 || !S_ISREG(st.st_mode)) return kRarOpenFailed;
    archive_read_support_format_rar(a_);
    archive_read_support_format_rar5(a_);
    // Names without the Unicode flag are in the DOS code page of the packing system.
    archive_read_set_options(a_, "rar:hdrcharset=CP852");
    if (archive_read_open_fd(a_, fd_.get(), kReadBlock) != ARCHIVE_OK) {
      int e = archive_errno(a_);
      if (e == ENOMEM) return kRarNoMemory;
      return e == EIO ? kRarOpenFailed : kRarBadArchive;
    }
    return 0;
  }

  // 0 with the next entry, kRarEndArchive after the last, or an error code.
  int Next(archive_entry*& entry, RarHeader& header) {
    int r = archive_read_next_header(a_, &entry);
    if (r == ARCHIVE_EOF) return kRarEndArchive;
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return ReadError(a_);
    ++index_;
    const char* name = archive_entry_pathname_utf8(entry);
    if (!name) name = archive_entry_pathname(entry);
    header = RarHeader{};
    header.FileName = name ? name : "";
    const mode_t type = archive_entry_filetype(entry);
    header.Directory = type == AE_IFDIR;
    header.Link = archive_entry_hardlink(entry) != nullptr ||
                  (type != 0 && type != AE_IFREG && type != AE_IFDIR);
    if (header.Directory) {
      while (header.FileName.size() > 1 && header.FileName.back() == '/') header.FileName.pop_back();
    }
    if (archive_entry_is_data_encrypted(entry)) header.Flags |= 4;
    header.UnpSize = archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0
                         ? static_cast<std::uint64_t>(archive_entry_size(entry))
                         : 0;
    return 0;
  }

  // The data checksum of the current entry from its RAR 4 header, when known.
  std::optional<std::uint32_t> HeaderCrc() {
    if (archive_format(a_) != ARCHIVE_FORMAT_RAR) return std::nullopt;  // RAR 5: libarchive checks
    if (!crcs_) crcs_ = Rar4FileCrcs(fd_.get());
    if (index_ == 0 || index_ > crcs_->size()) return std::nullopt;
    return (*crcs_)[index_ - 1];
  }

  archive* get() const { return a_; }

 private:
  archive* a_;
  Fd fd_;
  std::size_t index_ = 0;
  std::optional<std::vector<std::uint32_t>> crcs_;
};

// Opens a folder inside parent without following a symbolic link, creating
// it when missing.
Fd OpenFolder(int parent, const std::string& name) {
  const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::openat(parent, name.c_str(), flags);
  if (fd < 0 && errno == ENOENT) {
    if (::mkdirat(parent, name.c_str(), 0755) != 0 && errno != EEXIST) return Fd();
    fd = ::openat(parent, name.c_str(), flags);
  }
  return Fd(fd);
}

std::vector<std::string> SplitName(const std::string& name) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    parts.push_back(name.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Opens the folder holding the last part of parts (all of them with
// includeLast), every step inside root and never through a symbolic link.
Fd OpenPath(int root, const std::vector<std::string>& parts, bool includeLast) {
  Fd current(::dup(root));
  const std::size_t n = includeLast ? parts.size() : parts.size() - 1;
  for (std::size_t i = 0; i < n && current; ++i) current = OpenFolder(current.get(), parts[i]);
  return current;
}

std::atomic<unsigned> tempCounter{0};

// A new file under a temporary name beside the final one.
Fd CreateTemp(int folder, const std::string& finalName, mode_t mode, std::string& tempName) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempName = "." + finalName + ".part-" + std::to_string(::getpid()) + "-" +
               std::to_string(tempCounter.fetch_add(1));
    int fd = ::openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      mode);
    if (fd >= 0) return Fd(fd);
    if (errno != EEXIST) break;
  }
  return Fd();
}

bool WriteAll(int fd, const char* p, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

TRAR::TRAR() {
  archive* a = archive_read_new();
  if (!a) return;
  loaded_ = archive_read_support_format_rar(a) == ARCHIVE_OK &&
            archive_read_support_format_rar5(a) == ARCHIVE_OK;
  archive_read_free(a);
}

namespace {

// Extracts the current entry of reader into the folder root; 0 or an error code.
int ExtractEntry(TRAR& rar, Reader& reader, archive_entry* entry, const RarHeader& header, int root,
                 std::uint64_t& total) {
  if (header.Link || !IsSafeRelativeName(header.FileName)) return kRarCreateFailed;
  if (root < 0) return kRarCreateFailed;
  const std::vector<std::string> parts = SplitName(header.FileName);
  if (header.Directory) return OpenPath(root, parts, true) ? 0 : kRarCreateFailed;

  Fd folder = OpenPath(root, parts, false);
  if (!folder) return kRarCreateFailed;
  const mode_t mode = (archive_entry_perm(entry) & 0777) | 0600;
  std::string tempName;
  Fd out = CreateTemp(folder.get(), parts.back(), mode, tempName);
  if (!out) return kRarCreateFailed;

  auto discard = [&](int code) {
    out.Reset();
    ::unlinkat(folder.get(), tempName.c_str(), 0);
    return code;
  };
  std::uint32_t crc = 0;
  std::uint64_t written = 0;
  for (;;) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    int r = archive_read_data_block(reader.get(), &block, &size, &offset);
    if (r == ARCHIVE_EOF) break;
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return discard(ReadError(reader.get()));
    if (offset < 0 || static_cast<std::uint64_t>(offset) < written) return discard(kRarBadData);
    static const char zeros[4096] = {};
    while (written < static_cast<std::uint64_t>(offset)) {  // a hole: zeros
      std::size_t n = static_cast<std::size_t>(
          std::min<std::uint64_t>(sizeof zeros, static_cast<std::uint64_t>(offset) - written));
      if (!WriteAll(out.get(), zeros, n)) return discard(kRarWriteFailed);
      crc = Crc32(zeros, n, crc);
      written += n;
    }
    if (!WriteAll(out.get(), static_cast<const char*>(block), size)) return discard(kRarWriteFailed);
    crc = Crc32(block, size, crc);
    written += size;
    total += size;
    if (rar.OnProcessData) rar.OnProcessData(rar, static_cast<const char*>(block), total, size);
  }
  if (archive_entry_size_is_set(entry) && written != header.UnpSize) return discard(kRarBadData);
  if (auto expected = reader.HeaderCrc(); expected && *expected != crc) return discard(kRarBadData);

  if (archive_entry_mtime_is_set(entry)) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = archive_entry_mtime(entry);
    times[1].tv_nsec = archive_entry_mtime_nsec(entry);
    ::futimens(out.get(), times);
  }
  if (::close(out.Release()) != 0) {
    ::unlinkat(folder.get(), tempName.c_str(), 0);
    return kRarWriteFailed;
  }
  // The rename replaces a link at the final name instead of writing through it.
  if (::renameat(folder.get(), tempName.c_str(), folder.get(), parts.back().c_str()) != 0) {
    ::unlinkat(folder.get(), tempName.c_str(), 0);
    return kRarCreateFailed;
  }
  return 0;
}

}  // namespace

bool TRAR::Extract() {
  auto error = [this](int code) {
    if (OnError) OnError(*this, code);
  };
  if (!loaded_) {
    error(kRarNoLibrary);
    return false;
  }
  if (ArchiveName.empty()) {
    error(kRarBadArchive);
    return false;
  }
  Utf8Names names;
  Reader reader;
  if (int code = reader.Open(ArchiveName)) {
    error(code);
    return false;
  }
  // libarchive hands out no archive comment, so OnComment stays silent; volumes
  // are not joined, so OnVolumeChange neither.

  const std::string target = TargetDir.empty() ? std::string(".") : TargetDir;
  std::error_code ec;
  std::filesystem::create_directories(target, ec);
  Fd root(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));

  bool result = true;
  std::uint64_t total = 0;
  for (;;) {
    archive_entry* entry = nullptr;
    RarHeader header;
    int code = reader.Next(entry, header);
    if (code == kRarEndArchive) break;
    if (code != 0) {
      error(code);
      result = false;
      break;
    }
    if (Stop) {
      Stop = false;
      break;
    }
    if (!FilesToExtract.empty() && !FilesToExtract.count(header.FileName)) {
      if (archive_read_data_skip(reader.get()) != ARCHIVE_OK) {
        error(ReadError(reader.get()));
        result = false;
        break;
      }
      continue;
    }
    if (OnExtracting) OnExtracting(*this, header);
    if (Stop) {  // stopped by the handler: this entry is not written either
      Stop = false;
      break;
    }
    if ((header.Flags & 4) && OnReqPassword) {
      std::string password;
      OnReqPassword(*this, header, password);
      if (!password.empty()) archive_read_add_passphrase(reader.get(), password.c_str());
    }
    code = ExtractEntry(*this, reader, entry, header, root.get(), total);
    if (OnExtract) OnExtract(*this, header, code == 0);
    if (code != 0) {
      result = false;
      error(code);
      if (code != kRarBadData && code != kRarCreateFailed) break;
    }
  }
  return result;
}

int TRAR::List(std::vector<RarHeader>& headers) {
  headers.clear();
  if (!loaded_) return kRarNoLibrary;
  if (ArchiveName.empty()) return kRarBadArchive;
  Utf8Names names;
  Reader reader;
  if (int code = reader.Open(ArchiveName)) return code;
  for (;;) {
    archive_entry* entry = nullptr;
    RarHeader header;
    int code = reader.Next(entry, header);
    if (code == kRarEndArchive) return 0;
    if (code != 0) return code;
    if (OnListFile) OnListFile(*this, header);
    headers.push_back(header);
  }
}

ExtractResult RarExtractor::ExtractAll(const std::filesystem::path& archive, const std::filesystem::path& targetDir,
                                     const std::function<bool(const ArchiveEntry&)>& accept,
                                     const std::function<bool()>& keepGoing) {
  ExtractResult result;
  TRAR rar;
  rar.ArchiveName = archive.string();
  rar.TargetDir = targetDir.string();
  // A refused entry is not written: the next header read sees Stop. Extraction
  // goes to a folder of its own, so nothing else is touched meanwhile.
  rar.OnExtracting = [&](TRAR& r, const RarHeader& header) {
    if (result.refused || !accept || accept(ArchiveEntry{header.FileName, header.Link})) return;
    result.refused = true;
    result.refusedName = header.FileName;
    r.Stop = true;
  };
  rar.OnError = [&](TRAR&, int code) {
    if (!result.refused) result.error = code;
  };
  rar.OnExtract = [&](TRAR& r, const RarHeader&, bool) {
    if (!result.refused && !result.stopped && keepGoing && !keepGoing()) {
      result.stopped = true;
      r.Stop = true;
    }
  };
  rar.Extract();
  return result;
}

}  // namespace solv
