// Text crossings between the program's CP949 strings and Qt.
#include "platform/core/qt_text_impl.h"

#include <QFile>
#include <algorithm>

#include "platform/core/codepage.h"

namespace plat {

QString ToQString(std::string_view cp949) {
    // Plain ASCII (numbers, most links) is the same in every one of these encodings.
    if (std::all_of(cp949.begin(), cp949.end(), [](char c) { return (c & 0x80) == 0; })) {
        return QString::fromLatin1(cp949.data(), static_cast<qsizetype>(cp949.size()));
    }
    const std::string utf8 = Cp949ToUtf8(cp949);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToCp949(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::string Utf8ToProgramText(std::string_view utf8) {
    return Utf8ToCp949(utf8);
}

QString PathToQString(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace plat
