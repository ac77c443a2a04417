// The installed Korean font, and the substitution of the font names the program asks for.
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw.h"
#include "platform/draw/fonts_impl.h"

namespace plat {
namespace {

// Families tried first, in order; any other family that covers Hangul comes after them.
const char* const kPreferredFamilies[] = {"NanumGothic",  "NanumBarunGothic", "Noto Sans CJK KR",
                                          "Noto Sans KR", "UnDotum",          "Baekmuk Dotum"};

// The classic Korean and dialog face names the program's windows are written with.
const char* const kSubstitutedFaces[] = {
    "\xEB\x8F\x8B\xEC\x9B\x80",              // 돋움 (Dotum)
    "\xEB\x8F\x8B\xEC\x9B\x80\xEC\xB2\xB4",  // 돋움체
    "\xEA\xB5\xB4\xEB\xA6\xBC",              // 굴림 (Gulim)
    "\xEA\xB5\xB4\xEB\xA6\xBC\xEC\xB2\xB4",  // 굴림체
    "\xEB\xB0\x94\xED\x83\x95",              // 바탕 (Batang)
    "Dotum",
    "Gulim",
    "Batang",
    "MS Shell Dlg",
    "MS Shell Dlg 2",
    "Tahoma",
};

QString FindKoreanFamily() {
    const QStringList korean = QFontDatabase::families(QFontDatabase::Korean);
    for (const char* wanted : kPreferredFamilies) {
        const QString name = QString::fromLatin1(wanted);
        if (korean.contains(name)) {
            return name;
        }
    }
    return korean.isEmpty() ? QString() : korean.first();
}

}  // namespace

std::string KoreanFontFamily() {
    return FromQString(FindKoreanFamily());
}

void InstallFontSubstitutions() {
    const QString family = FindKoreanFamily();
    if (family.isEmpty()) {
        return;
    }
    for (const char* face : kSubstitutedFaces) {
        QFont::insertSubstitution(QString::fromUtf8(face), family);
    }
}

}  // namespace plat
