// Escaping of text for XML and HTML output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tunova::server {

// Appends `text` with & < > ' " written as the five named entities (the only ones the player's
// reader decodes) and control characters that XML forbids written as spaces. Safe for element
// text and for attribute values in either quote.
void AppendXmlEscaped(std::string& out, std::string_view text);

// `text` escaped as by AppendXmlEscaped.
std::string XmlEscaped(std::string_view text);

// Seconds since the epoch as an Atom date, "2026-12-07T09:30:00.000Z" (UTC).
std::string AtomDate(std::int64_t unixSeconds);

}  // namespace tunova::server
