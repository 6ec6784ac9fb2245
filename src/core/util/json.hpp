// JSON text for whoever reads the tools' output as data.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace solv {

// A JSON string of UTF-8 text: quoted, with quotes, backslashes and control
// characters escaped.
inline std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace solv
