// A strict reader of JSON text (RFC 8259) into a small tree, for tests that
// hold a tool's JSON output to the format and look into it.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string string;  // UTF-8
  std::vector<Json> array;
  std::map<std::string, Json> object;

  const Json& operator[](const std::string& key) const {
    static const Json none;
    auto it = object.find(key);
    return it == object.end() ? none : it->second;
  }
};

class JsonReader {
 public:
  // The tree of text, or nullopt when it is not exactly one JSON value.
  static std::optional<Json> Read(std::string_view text) {
    JsonReader r(text);
    Json v;
    if (!r.Value(v, 0)) return std::nullopt;
    r.Blank();
    if (r.at_ != text.size()) return std::nullopt;
    return v;
  }

 private:
  explicit JsonReader(std::string_view t) : t_(t) {}
  void Blank() {
    while (at_ < t_.size() && (t_[at_] == ' ' || t_[at_] == '\n' || t_[at_] == '\r' || t_[at_] == '\t')) ++at_;
  }
  bool Eat(char c) {
    Blank();
    if (at_ < t_.size() && t_[at_] == c) return ++at_, true;
    return false;
  }
  bool Word(std::string_view w) {
    if (t_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }
  bool String(std::string& out) {
    if (!Eat('"')) return false;
    while (at_ < t_.size()) {
      const unsigned char c = static_cast<unsigned char>(t_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;  // control characters must be escaped
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (at_ >= t_.size()) return false;
      const char e = t_[at_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          if (at_ + 4 > t_.size()) return false;
          const std::string hex(t_.substr(at_, 4));
          char* end = nullptr;
          const long code = std::strtol(hex.c_str(), &end, 16);
          if (end != hex.c_str() + 4) return false;
          at_ += 4;
          if (code < 0x80) out += static_cast<char>(code);
          else if (code < 0x800) out += {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
          else out += {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (code & 0x3F))};
          break;
        }
        default: return false;
      }
    }
    return false;
  }
  bool Value(Json& v, int depth) {
    if (depth > 64) return false;
    Blank();
    if (at_ >= t_.size()) return false;
    const char c = t_[at_];
    if (c == '"') return v.kind = Json::Kind::String, String(v.string);
    if (c == '{') {
      ++at_;
      v.kind = Json::Kind::Object;
      if (Eat('}')) return true;
      do {
        std::string key;
        Json member;
        if (!String(key) || !Eat(':') || !Value(member, depth + 1)) return false;
        if (!v.object.emplace(std::move(key), std::move(member)).second) return false;  // a key twice
      } while (Eat(','));
      return Eat('}');
    }
    if (c == '[') {
      ++at_;
      v.kind = Json::Kind::Array;
      if (Eat(']')) return true;
      do {
        v.array.emplace_back();
        if (!Value(v.array.back(), depth + 1)) return false;
      } while (Eat(','));
      return Eat(']');
    }
    if (Word("true")) return v.kind = Json::Kind::Bool, v.boolean = true, true;
    if (Word("false")) return v.kind = Json::Kind::Bool, true;
    if (Word("null")) return true;
    const size_t start = at_;
    if (at_ < t_.size() && t_[at_] == '-') ++at_;
    while (at_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[at_])) || t_[at_] == '.' ||
                               t_[at_] == 'e' || t_[at_] == 'E' || t_[at_] == '+' || t_[at_] == '-'))
      ++at_;
    if (at_ == start) return false;
    v.kind = Json::Kind::Number;
    v.number = std::strtod(std::string(t_.substr(start, at_ - start)).c_str(), nullptr);
    return true;
  }

  std::string_view t_;
  size_t at_ = 0;
};
