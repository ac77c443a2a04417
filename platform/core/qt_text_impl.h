// Platform-internal: the one place where program text (CP949) and file-system bytes meet Qt's
// QString. Every conversion of the platform layer goes through these.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace plat {

// CP949 program text to a QString; invalid sequences become U+FFFD.
QString ToQString(std::string_view cp949);
// A QString to CP949 program text; characters CP949 cannot show become '?'.
std::string FromQString(const QString& text);
// UTF-8 (command line, files written by the platform) to CP949 program text.
std::string Utf8ToProgramText(std::string_view utf8);
// File-system path bytes to a QString and back (paths are kept as the file system's bytes).
QString PathToQString(const std::string& path);

}  // namespace plat
