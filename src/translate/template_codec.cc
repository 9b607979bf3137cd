#include "translate/template_codec.h"

#include "platform/text_util.h"

namespace vemba {

std::string clear_string(Log& log, std::string_view text) {
  if (text.size() > kClearStringInputMax) {
    tts_log(log, TTS_LL_ERR, "ERROR !! <clear_string> String is too long for TTS limited");
    return std::string();
  }
  size_t first = 0;
  while (first < text.size() && is_space(text[first])) ++first;
  size_t last = text.size();
  while (last > first && is_space(text[last - 1])) --last;
  std::string cleaned(text.substr(first, last - first));
  // Inner white space becomes blanks one for one; runs stay as they are.
  for (char& c : cleaned) {
    if (is_space(c)) c = ' ';
  }
  return cleaned;
}

namespace {

// Position of the quote that closes the segment opened at start: the first
// quote that is not the first half of a doubled quote.
size_t segment_end(const std::string& text, size_t start) {
  size_t end = text.find('"', start + 1);
  while (end != std::string::npos && end + 1 < text.size() && text[end + 1] == '"') {
    end = text.find('"', end + 2);
  }
  return end;
}

std::string collapse_doubled_quotes(std::string_view inner) {
  std::string result;
  for (size_t i = 0; i < inner.size(); ++i) {
    result += inner[i];
    if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
  }
  return result;
}

}  // namespace

std::optional<std::string> encode_template(Log& log, std::string_view text,
                                           std::vector<std::string>& quoted_texts) {
  if (text.find("<<") != std::string_view::npos || text.find(">>") != std::string_view::npos) {
    tts_log(log, TTS_LL_ERR, "ERROR !! <encode_template> Forbidden symbols. ");
    return std::nullopt;
  }
  size_t quotes = 0;
  for (char c : text) {
    if (c == '"') ++quotes;
  }
  if (quotes % 2 != 0) {
    tts_log(log, TTS_LL_ERR, "ERROR !! <encode_template> Wrong number of apostrophes. ");
    return std::nullopt;
  }
  std::string encoded(text);
  for (int n = 0;; ++n) {
    size_t start = encoded.find('"');
    if (start == std::string::npos) return encoded;
    size_t end = segment_end(encoded, start);
    if (end == std::string::npos) return encoded;  // an even count always closes
    std::string segment = encoded.substr(start, end - start + 1);
    std::string holder = string_printf("<<%d>>", n);
    std::optional<std::string> replaced =
        strRstr(log.console(), encoded.c_str(), segment.c_str(), holder.c_str());
    if (!replaced) return std::nullopt;
    encoded = std::move(*replaced);
    quoted_texts.push_back(
        collapse_doubled_quotes(std::string_view(segment).substr(1, segment.size() - 2)));
  }
}

const std::string& decode_template(const std::string& word,
                                   const std::vector<std::string>& quoted_texts) {
  size_t open = word.find("<<");
  if (open == std::string::npos) return word;
  size_t close = word.find(">>");
  if (close == std::string::npos || close < open + 2) return word;
  int index = leading_int(std::string_view(word).substr(open + 2, close - open - 2));
  // Place holders only come from encode_template, so the index is always
  // one of its entries; anything else keeps the word as it is.
  if (index < 0 || static_cast<size_t>(index) >= quoted_texts.size()) return word;
  return quoted_texts[static_cast<size_t>(index)];
}

std::optional<std::string> strRstr(Console& console, const char* text, const char* find,
                                   const char* replacement) {
  if (text == nullptr || find == nullptr || replacement == nullptr) {
    console.write("ERROR !! <strRstr> NULL supplyed ...\n");
    return std::nullopt;
  }
  std::string result(text);
  size_t at = result.find(find);
  if (at != std::string::npos) result.replace(at, std::string_view(find).size(), replacement);
  return result;
}

}  // namespace vemba
