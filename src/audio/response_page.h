// The document the calling application fetches after a request: VoiceXML or
// HTML, success or failure variant, pointing at the request's sound file.
#pragma once

#include <string>
#include <string_view>

#include "base/log.h"
#include "platform/file_system.h"

namespace vemba {

/// The kinds of page a script type selects.
enum class PageKind { kVoiceXml, kHtml, kWrongType };

/// The script type's first 99 characters, upper-cased, as a page kind.
PageKind page_kind(std::string_view script_type);

/// The sound file's URL: the base URL followed by the WAV path below the
/// document root (one trailing "\" or "/" of the root ignored), every "\"
/// turned into "/"; bytes of that path a URL path cannot hold as they are
/// (blanks, "#", "?", "%", quotes, non-ASCII...) percent-encoded.
std::string sound_url(std::string_view base_url, std::string_view wwwroot,
                      std::string_view wav_path);

/// Images shown on the HTML pages.
struct PageImages {
  std::string background;
  std::string play_button;
};

/// The page text of a kind and outcome; a wrong kind gives the HTML failure
/// page. The URLs are escaped for their quoted attributes.
std::string page_text(PageKind kind, bool success, std::string_view url, const PageImages& images);

/// Writes the response page in one step (a fetch never sees a partial page);
/// failures and a wrong script type are logged. False when no page was
/// written; an earlier page of the name is then removed, so it cannot pass
/// for this request's answer.
bool tts_write_page(FileSystem& fs, Log& log, const std::string& page_path,
                    const std::string& script_type, bool success, std::string_view url,
                    const PageImages& images);

}  // namespace vemba
