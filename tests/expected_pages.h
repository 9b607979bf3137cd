// The response pages the request program is expected to write, spelled out
// independently of the code that writes them.
#pragma once

#include <string>

namespace vemba::test {

/// The VoiceXML page whose __SOUND__ holds sound_value, success or failure variant.
inline std::string vxml_page(const std::string& sound_value, bool success) {
  return std::string(
             "<?xml version=\"1.0\"?>\n<vxml version=\"2.0\" "
             "xmlns=\"http://www.w3.org/2001/vxml\">\n") +
         (success ? "  <var name=\"__ERR_CODE__\" expr = \"0\" />\n"
                    "  <var name=\"__ERR_DETAILS__\" expr = \"''\" />\n"
                  : "  <var name=\"__ERR_CODE__\" expr = \"2\" />\n"
                    "  <var name=\"__ERR_DETAILS__\" expr = \"'Wrong Input parameters'\" />\n") +
         "  <var name=\"__SOUND__\" expr = \"'" + sound_value + "'\"/>\n" +
         "  <form id=\"VembaSound\">\n"
         "    <catch event=\"error.semantic.ecmascript\">\n"
         "      <var name=\"__ERR_CODE__\" expr = \"6\" />\n"
         "      <var name=\"__ERR_DETAILS__\" expr = \"'Returned VXML execution error'\" />\n"
         "      <return namelist=\"__ERR_CODE__ __ERR_DETAILS__\" />\n"
         "    </catch>\n"
         "    <block>\n"
         "      <return namelist=\"__ERR_CODE__ __ERR_DETAILS__ __SOUND__\" />\n"
         "    </block>\n"
         "  </form>\n"
         "</vxml>\n ";
}

}  // namespace vemba::test
