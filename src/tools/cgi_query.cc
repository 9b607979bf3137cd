#include "tools/cgi_query.h"

#include "platform/text_util.h"

namespace vemba {

namespace {

int hex_value(char c) {
  if (is_digit(c)) return c - '0';
  c = to_lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Form decoding: "+" is a blank, "%XX" a byte.
bool form_decode(std::string_view text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      c = ' ';
    } else if (c == '%') {
      if (i + 2 >= text.size()) return false;
      int high = hex_value(text[i + 1]);
      int low = hex_value(text[i + 2]);
      if (high < 0 || low < 0) return false;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    out->push_back(c);
  }
  return true;
}

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates
// or code points beyond U+10FFFF.
bool is_utf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra;
    unsigned min;
    unsigned code;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, min = 0x80, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, min = 0x800, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, min = 0x10000, code = c & 0x07;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

bool has_control_byte(std::string_view text) {
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
  }
  return false;
}

// A name is repeated in a reason only when it is short and plain.
std::string reason_name(std::string_view name) {
  if (name.empty() || name.size() > 40) return "";
  for (char c : name) {
    if (!is_alpha(c) && !is_digit(c) && c != '_' && c != '-') return "";
  }
  return " '" + std::string(name) + "'";
}

}  // namespace

bool parse_cgi_query(std::string_view query, CgiQuery* out, std::string* error) {
  if (query.size() > kQueryLimit) {
    *error = "query longer than " + std::to_string(kQueryLimit) + " bytes";
    return false;
  }
  *out = CgiQuery();
  std::optional<std::string> message;
  while (!query.empty()) {
    size_t end = std::min(query.find('&'), query.size());
    std::string_view piece = query.substr(0, end);
    query.remove_prefix(std::min(end + 1, query.size()));
    if (piece.empty()) continue;  // "a=1&&b=2" and a trailing "&"
    size_t eq = std::min(piece.find('='), piece.size());
    std::string name;
    std::string value;
    if (!form_decode(piece.substr(0, eq), &name) ||
        !form_decode(piece.substr(std::min(eq + 1, piece.size())), &value)) {
      *error = "bad percent escape in the query";
      return false;
    }
    std::optional<std::string>* slot = nullptr;
    if (name == "message") {
      slot = &message;
    } else if (name == "language_id") {
      slot = &out->language_id;
    } else if (name == "mode") {
      slot = &out->mode;
    } else if (name == "language_system_name") {
      slot = &out->language_system_name;
    } else if (name == "script_type") {
      slot = &out->script_type;
    } else {
      *error = "unknown parameter" + reason_name(name);
      return false;
    }
    if (slot->has_value()) {
      *error = "parameter '" + name + "' given more than once";
      return false;
    }
    if (has_control_byte(value)) {
      *error = "control byte in parameter '" + name + "'";
      return false;
    }
    if (!is_utf8(value)) {
      *error = "parameter '" + name + "' is not UTF-8";
      return false;
    }
    *slot = std::move(value);
  }
  if (!message) {
    *error = "missing parameter 'message'";
    return false;
  }
  out->message = std::move(*message);
  return true;
}

}  // namespace vemba
