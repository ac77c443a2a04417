// XSPF through the toolkit's XML stream reader and writer:
//
//   <playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>
//     <track><location>LINK</location><title>TITLE</title><info>PAGE</info>
//       <duration>MS</duration></track>
//   </trackList></playlist>
//
// The reader walks the token stream itself (no recursion), so nesting costs one counter; it
// refuses document type declarations, so no entity is ever expanded.
#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <string>

#include "platform/desktop/playlist_formats.h"
#include "platform/desktop/playlist_text_impl.h"

namespace plat {
namespace {

namespace text = playlist_text;

constexpr char kXspfNamespace[] = "http://xspf.org/ns/0/";
constexpr qint64 kMaxDurationMs = 100000000;  // about 28 hours

PlaylistReadResult Refused(std::string reason) {
    PlaylistReadResult result;
    result.error = std::move(reason);
    return result;
}

std::string At(const QXmlStreamReader& xml, std::string_view what) {
    return text::AtLine(static_cast<std::size_t>(xml.lineNumber()), what);
}

// Where the reader is: the elements that matter are playlist > trackList > track > field.
struct XspfCursor {
    int depth = 0;
    bool inPlaylist = false;
    bool inTrackList = false;
    bool inTrack = false;
    bool hasLocation = false;
    bool hasTitle = false;
    bool hasInfo = false;
    PlaylistTrack track;
};

int DurationSeconds(const QString& milliseconds) {
    bool ok = false;
    const qint64 ms = milliseconds.trimmed().toLongLong(&ok);
    if (!ok || ms <= 0) {
        return 0;
    }
    return static_cast<int>((std::min(ms, kMaxDurationMs) + 500) / 1000);
}

enum class Field { kLocation, kTitle, kInfo, kDuration, kOther };

// A track's field by its name; elements of other namespaces (other players' extensions) are
// none of them.
Field FieldNamed(QStringView name, QStringView ns) {
    if (!ns.isEmpty() && ns != QLatin1StringView(kXspfNamespace)) {
        return Field::kOther;
    }
    if (name == u"location") {
        return Field::kLocation;
    }
    if (name == u"title") {
        return Field::kTitle;
    }
    if (name == u"info") {
        return Field::kInfo;
    }
    return name == u"duration" ? Field::kDuration : Field::kOther;
}

// Takes a field of the current track: the first location, title and info count. Returns why
// the track is refused, or an empty string.
std::string TakeField(Field field, const QString& content, XspfCursor& at) {
    const QByteArray utf8 = content.toUtf8();
    const std::string_view value(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (field == Field::kLocation && !at.hasLocation) {
        at.track.link = std::string(value);
        at.hasLocation = true;
    } else if (field == Field::kTitle && !at.hasTitle) {
        if (value.size() > kMaxPlaylistTitleBytes) {
            return "a title longer than " + std::to_string(kMaxPlaylistTitleBytes) + " bytes";
        }
        at.track.title = text::CleanTitle(value);
        at.hasTitle = true;
    } else if (field == Field::kInfo && !at.hasInfo) {
        at.hasInfo = true;
        if (const std::string_view page = text::Trimmed(value); text::IsWebLink(page)) {
            at.track.page = std::string(page);
        }
    } else if (field == Field::kDuration) {
        at.track.seconds = DurationSeconds(content);
    }
    return {};
}

}  // namespace

PlaylistReadResult ReadXspf(std::string_view bytes) {
    bytes = text::WithoutByteOrderMark(bytes);
    if (std::string problem = text::FileProblem(bytes); !problem.empty()) {
        return Refused(std::move(problem));
    }
    QXmlStreamReader xml(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    PlaylistReadResult result;
    XspfCursor at;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartDocument) {
            const QString encoding = xml.documentEncoding().toString();
            if (!encoding.isEmpty() && encoding.compare(u"UTF-8", Qt::CaseInsensitive) != 0) {
                return Refused(At(xml, "an encoding other than UTF-8"));
            }
        } else if (token == QXmlStreamReader::DTD) {
            return Refused(At(xml, "a document type declaration"));
        } else if (token == QXmlStreamReader::EntityReference) {
            return Refused(At(xml, "an entity that is not XML's own"));
        } else if (token == QXmlStreamReader::StartElement) {
            if (++at.depth > kMaxPlaylistXmlDepth) {
                return Refused(At(xml, "elements nested more than " +
                                           std::to_string(kMaxPlaylistXmlDepth) + " deep"));
            }
            const QStringView name = xml.name();
            if (at.depth == 1) {
                const QStringView ns = xml.namespaceUri();
                if (name != u"playlist" ||
                    (!ns.isEmpty() && ns != QLatin1StringView(kXspfNamespace))) {
                    return Refused("not an XSPF playlist");
                }
                at.inPlaylist = true;
            } else if (at.depth == 2 && name == u"trackList") {
                at.inTrackList = true;
            } else if (at.depth == 3 && at.inTrackList && name == u"track") {
                if (result.tracks.size() == kMaxPlaylistFileTracks) {
                    return Refused("the file has more than " +
                                   std::to_string(kMaxPlaylistFileTracks) + " entries");
                }
                at.inTrack = true;
                at.hasLocation = at.hasTitle = at.hasInfo = false;
                at.track = {};
            } else if (const Field field = FieldNamed(name, xml.namespaceUri());
                       at.depth == 4 && at.inTrack && field != Field::kOther) {
                // The reader stands on the field's end tag afterwards.
                const QString content =
                    xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                --at.depth;
                if (xml.hasError()) {
                    break;
                }
                if (std::string problem = TakeField(field, content, at); !problem.empty()) {
                    return Refused(At(xml, problem));
                }
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (at.depth == 3 && at.inTrack) {
                at.inTrack = false;
                at.track.link = std::string(text::Trimmed(at.track.link));
                if (std::string problem = text::LocationProblem(at.track.link); !problem.empty()) {
                    return Refused(At(xml, problem));
                }
                if (at.track.title.empty()) {
                    at.track.title = at.track.link;
                }
                result.tracks.push_back(std::move(at.track));
            } else if (at.depth == 2) {
                at.inTrackList = false;
            }
            --at.depth;
        }
    }
    if (xml.hasError()) {
        return Refused(At(xml, "broken XML (" + xml.errorString().toStdString() + ")"));
    }
    if (!at.inPlaylist) {
        return Refused("not an XSPF playlist");
    }
    return result;
}

std::string WriteXspf(const std::vector<PlaylistTrack>& tracks) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("playlist"));
    xml.writeDefaultNamespace(QString::fromLatin1(kXspfNamespace));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("trackList"));
    for (const PlaylistTrack& track : tracks) {
        xml.writeStartElement(QStringLiteral("track"));
        xml.writeTextElement(QStringLiteral("location"),
                             QString::fromStdString(text::EncodedLink(track.link)));
        xml.writeTextElement(QStringLiteral("title"),
                             QString::fromStdString(text::CleanTitle(track.title)));
        if (!track.page.empty()) {
            xml.writeTextElement(QStringLiteral("info"),
                                 QString::fromStdString(text::EncodedLink(track.page)));
        }
        if (track.seconds > 0) {
            xml.writeTextElement(QStringLiteral("duration"),
                                 QString::number(static_cast<qint64>(track.seconds) * 1000));
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out.toStdString();
}

}  // namespace plat
