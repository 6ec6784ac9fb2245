// RAR archives of the updater, unpacked with libarchive.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "updater/update_run.hpp"

namespace solv {

// Result codes, as the extraction events report them.
enum RarError : int {
  kRarOk = 0,
  kRarEndArchive = 10,
  kRarNoMemory = 11,
  kRarBadData = 12,       // damaged data, checksum mismatch
  kRarBadArchive = 13,    // not a usable archive; also: no archive name
  kRarUnknownFormat = 14,
  kRarOpenFailed = 15,
  kRarCreateFailed = 16,  // the target file could not be written; also: a name leaving the folder
  kRarCloseFailed = 17,
  kRarReadFailed = 18,
  kRarWriteFailed = 19,
  kRarNoLibrary = 50,     // the extraction library cannot read RAR archives
};

struct RarHeader {
  std::string FileName;     // UTF-8, "/" separating folders, no trailing "/"
  unsigned Flags = 0;       // 4: encrypted
  std::uint64_t UnpSize = 0;
  bool Directory = false;
  bool Link = false;        // symbolic or hard link, or another special file (device, pipe)
};

class TRAR {
 public:
  TRAR();

  std::string ArchiveName;
  std::set<std::string> FilesToExtract;  // empty: every entry
  std::set<std::string> FilesToTest;    // kept for callers; extraction does not test
  std::string TargetDir;                 // created when missing; empty: the current folder
  bool Stop = false;
  // False when the library cannot read RAR archives; every extraction then fails with 50.
  bool LoadedDLL() const { return loaded_; }

  // Each block of unpacked data; total counts every block of this Extract call.
  std::function<void(TRAR&, const char* block, std::uint64_t total, std::size_t size)> OnProcessData;
  // Never called: volumes are not joined, and libarchive hands out no archive comment.
  std::function<void(TRAR&, const std::string& volume, int mode)> OnVolumeChange;
  std::function<void(TRAR&, int code)> OnError;
  std::function<void(TRAR&, const std::string& comment)> OnComment;
  std::function<void(TRAR&, const RarHeader&)> OnListFile;
  std::function<void(TRAR&, const RarHeader&)> OnExtracting;
  std::function<void(TRAR&, const RarHeader&, bool success)> OnExtract;
  // Never called: extraction does not test.
  std::function<void(TRAR&, const RarHeader&)> OnTesting;
  std::function<void(TRAR&, const RarHeader&, bool success)> OnTested;
  std::function<void(TRAR&, const RarHeader&, std::string& password)> OnReqPassword;

  // Unpacks ArchiveName into TargetDir; false when any error was reported.
  // An entry whose name would leave TargetDir, or a link, is never written:
  // it is reported as error 16. Each file is written under a temporary name
  // and renamed into place only when its data checked out, and no symbolic
  // link inside TargetDir is followed.
  bool Extract();
  // Reads every header without unpacking (OnListFile for each); 0 or an error
  // code, which is answered only (no OnError). Data checksums are not checked.
  int List(std::vector<RarHeader>& headers);

 private:
  bool loaded_ = false;
};

// The archive side of the update run on TRAR: one pass over the archive.
class RarExtractor : public ArchiveExtractor {
 public:
  ExtractResult ExtractAll(const std::filesystem::path& archive, const std::filesystem::path& targetDir,
                           const std::function<bool(const ArchiveEntry&)>& accept,
                           const std::function<bool()>& keepGoing) override;
};

}  // namespace solv
