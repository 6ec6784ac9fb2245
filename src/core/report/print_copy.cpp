#include "report/print_copy.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "report/component_text.hpp"
#include "store/cp1250.hpp"
#include "store/store.hpp"
#include "util/debug_log.hpp"
#include "util/file_io.hpp"

namespace solv {
namespace {

// A print-copy file larger than this is not a page definition.
constexpr off_t kMaxFileBytes = 64 * 1024 * 1024;

constexpr std::string_view kDeletedPrefixes[] = {
    "OnActivate", "OnDeactivate",   "OnCreate",          "OnShow",   "OnClose",
    "OnClick",    "OnKeyDown",      "OnKeyPress",        "OnExit",   "ShowHint = True",
    "ShowHint",   "Visible = True", "FormStyle = fsMDIChild", "TagPop = ", "TagIndex = ",
};
constexpr std::string_view kDeletedBlocks[] = {"object Ed1: TKVZEdit", "object PopupMenu1: TPopupMenu"};

struct Line {
  std::string_view body;  // without its line end
  std::string_view end;   // "\r\n", "\n", "\r" or empty on the last line
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t e = text.find_first_of("\r\n", pos);
    if (e == std::string_view::npos) {
      lines.push_back({text.substr(pos), {}});
      break;
    }
    const size_t len = (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? 2 : 1;
    lines.push_back({text.substr(pos, e - pos), text.substr(e, len)});
    pos = e + len;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsBlank(s[b])) ++b;
  return s.substr(b);
}
std::string_view Trim(std::string_view s) {
  s = TrimLeft(s);
  size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) --e;
  return s.substr(0, e);
}

// An "object" line (first word "object", not a property called so).
bool IsObjectLine(std::string_view t) {
  if (t.size() < 7 || t.substr(0, 6) != "object" || !IsBlank(t[6])) return false;
  const std::string_view rest = TrimLeft(t.substr(6));
  return rest.empty() || rest.front() != '=';
}

// A text value continued on the next line ends with "+"; its continuation
// lines begin with a quote or '#'.
bool EndsWithContinuation(std::string_view body) {
  const std::string_view t = Trim(body);
  return !t.empty() && t.back() == '+';
}
bool IsContinuationLine(std::string_view body) {
  const std::string_view t = TrimLeft(body);
  return !t.empty() && (t.front() == '\'' || t.front() == '#');
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

void AppendReplacedIgnoringCase(std::string& out, std::string_view s, std::string_view what,
                                std::string_view with) {
  if (what.empty() || s.size() < what.size()) {
    out.append(s);
    return;
  }
  size_t i = 0;
  while (i + what.size() <= s.size()) {
    bool match = true;
    for (size_t k = 0; k < what.size() && match; ++k) match = LowerAscii(s[i + k]) == LowerAscii(what[k]);
    if (match) {
      out.append(with);
      i += what.size();
    } else {
      out += s[i++];
    }
  }
  out.append(s.substr(i));
}

std::string ReplaceAll(std::string_view s, std::string_view what, std::string_view with) {
  std::string out;
  size_t pos = 0;
  while (true) {
    const size_t hit = s.find(what, pos);
    if (hit == std::string_view::npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(with);
    pos = hit + what.size();
  }
  out.append(s.substr(pos));
  return out;
}

bool HasReport(const ComponentNode& node) {
  if (node.className == "TKVZReport") return true;
  for (const ComponentNode& child : node.children)
    if (HasReport(child)) return true;
  return false;
}

// The bytes of a regular file; false when it cannot be read.
bool ReadRegularFile(const std::filesystem::path& file, std::string& bytes) {
  const int fd = ::open(file.string().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileBytes;
  char buf[65536];
  while (ok) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    bytes.append(buf, static_cast<size_t>(n));
    if (bytes.size() > static_cast<size_t>(kMaxFileBytes)) ok = false;
  }
  ::close(fd);
  return ok;
}

void RemoveFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(file, ec))) std::filesystem::remove(file, ec);
}

}  // namespace

PrintCopyError::PrintCopyError(const std::filesystem::path& file, std::string detail)
    : std::runtime_error("Błąd: Plik jest uszkodzony " + file.string()), detail_(std::move(detail)) {}

std::string DeletePrintCopyLines(std::string_view text) {
  const std::vector<Line> lines = SplitLines(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view t = TrimLeft(lines[i].body);
    bool deleted = false;
    for (std::string_view prefix : kDeletedPrefixes) deleted = deleted || t.substr(0, prefix.size()) == prefix;
    if (!deleted) {
      out.append(lines[i].body).append(lines[i].end);
      continue;
    }
    while (EndsWithContinuation(lines[i].body) && i + 1 < lines.size() && IsContinuationLine(lines[i + 1].body)) ++i;
  }
  return out;
}

std::string DeletePrintCopyBlocks(std::string_view text) {
  const std::vector<Line> lines = SplitLines(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view t = Trim(lines[i].body);
    bool block = false;
    for (std::string_view head : kDeletedBlocks) block = block || t == head;
    if (!block) {
      out.append(lines[i].body).append(lines[i].end);
      continue;
    }
    // Skip to the block's own "end"; sub-objects open further levels.
    for (int depth = 1; depth > 0 && i + 1 < lines.size();) {
      const std::string_view inner = Trim(lines[++i].body);
      if (IsObjectLine(inner)) ++depth;
      else if (inner == "end") --depth;
    }
  }
  return out;
}

std::string ReplacePrintCopyClasses(std::string_view text) {
  const std::string renamed = ReplaceAll(text, "TKVZEditField", "TKVZField");
  std::string out;
  out.reserve(renamed.size() + 32);
  for (const Line& line : SplitLines(renamed)) {
    out.append(line.body).append(line.end);
    if (Trim(line.body) != "PixelsPerInch = 96") continue;
    const std::string_view body = line.body;
    const std::string_view indent = body.substr(0, body.size() - TrimLeft(body).size());
    if (line.end.empty()) out += '\n';
    out.append(indent).append("Scaled = FALSE").append(line.end);
  }
  return out;
}

std::string ReplacePageName(std::string_view text, std::string_view pageName) {
  const std::string with = std::string(pageName) + "bak";
  std::string out;
  out.reserve(text.size() + 64);
  for (const Line& line : SplitLines(text)) {
    const std::string_view body = line.body;
    const std::string_view t = TrimLeft(body);
    if (Trim(body) == "end") {
      out.append(body);
    } else if (IsObjectLine(t)) {
      const size_t keyword = body.size() - t.size() + 6;  // indentation and "object"
      out.append(body.substr(0, keyword));
      AppendReplacedIgnoringCase(out, body.substr(keyword), pageName, with);
    } else {
      AppendReplacedIgnoringCase(out, body, pageName, with);
    }
    out.append(line.end);
  }
  return out;
}

std::string MakePrintCopyText(std::string_view text, std::string_view pageName) {
  return ReplacePageName(ReplacePrintCopyClasses(DeletePrintCopyBlocks(DeletePrintCopyLines(text))), pageName);
}

std::filesystem::path PrintCopyFolder() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  return ec ? std::filesystem::path("/tmp") : folder;
}

ComponentNode LoadPrintCopyFile(const std::filesystem::path& file) {
  std::string bytes;
  const bool read = ReadRegularFile(file, bytes);
  RemoveFile(file);
  if (!read) throw PrintCopyError(file, {});
  ComponentNode node;
  try {
    node = ReadComponentText(Cp1250ToUtf8(bytes));
  } catch (const ComponentTextError& e) {
    throw PrintCopyError(file, e.what());
  }
  if (!HasReport(node)) throw PrintCopyError(file, {});
  return node;
}

ComponentNode MakePrintCopyNode(const ComponentNode& page, const std::string& pageName) {
  // A file of this process alone: two copies of the program printing at once
  // must never read each other's pages.
  std::string name = (PrintCopyFolder() / (std::string(kPrintCopyPrefix) + "XXXXXX")).string();
  const int fd = ::mkstemp(name.data());
  const std::filesystem::path file = name;
  if (fd < 0) throw PrintCopyError(file, {});
  std::string text;
  try {
    text = WriteComponentText(page);
  } catch (const ComponentTextError& e) {
    ::close(fd);
    RemoveFile(file);
    // Nothing was read, so there is no reading error to show.
    DebugLog(std::string("print copy of ") + pageName + ": " + e.what());
    throw PrintCopyError(file, {});
  }
  text = MakePrintCopyText(text, pageName);
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  bool written = WriteAll(fd, Utf8ToCp1250(crlf));
  written = (::close(fd) == 0) && written;
  if (!written) {
    RemoveFile(file);
    throw PrintCopyError(file, {});
  }
  return LoadPrintCopyFile(file);
}

}  // namespace solv
