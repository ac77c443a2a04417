#include "server/info_json_sidecar.h"

#include <cmath>

#include "server/json_value.h"

namespace tunova::server {

namespace {

std::optional<std::string> FirstText(const JsonValue& object,
                                     std::initializer_list<std::string_view> keys) {
    for (const std::string_view key : keys) {
        std::string text = object.Text(key);
        if (!text.empty()) {
            return text;
        }
    }
    return std::nullopt;
}

void AddWords(const JsonValue& object, std::string_view key, std::vector<std::string>& words) {
    const JsonValue* value = object.Find(key);
    if (value == nullptr) {
        return;
    }
    if (value->kind == JsonValue::Kind::String && !value->text.empty()) {
        words.push_back(value->text);
    } else if (value->kind == JsonValue::Kind::Array) {
        for (const JsonValue& item : value->items) {
            if (item.kind == JsonValue::Kind::String && !item.text.empty()) {
                words.push_back(item.text);
            }
        }
    }
}

}  // namespace

SidecarMetadata ParseInfoJson(std::string_view text) {
    SidecarMetadata result;
    JsonParse parse = ParseJson(text);
    if (!parse) {
        result.error = parse.error;
        return result;
    }
    const JsonValue& info = parse.value;
    if (info.kind != JsonValue::Kind::Object) {
        result.error = "not a JSON object";
        return result;
    }
    MediaMetadata& meta = result.metadata;
    meta.title = FirstText(info, {"track", "title", "fulltitle"});
    meta.artist = FirstText(info, {"artist", "creator", "uploader", "channel"});
    meta.description = FirstText(info, {"description"});
    for (const std::string_view key : {"release_date", "upload_date"}) {
        if (!meta.published) {
            meta.published = ParseLooseDate(info.Text(key));
        }
    }
    if (const JsonValue* duration = info.Find("duration");
        duration != nullptr && duration->kind == JsonValue::Kind::Number && duration->number > 0 &&
        duration->number < 24 * 3600 * 10) {
        meta.seconds = static_cast<int>(std::lround(duration->number));
    }
    for (const std::string_view key : {"album", "tags", "categories", "uploader", "channel"}) {
        AddWords(info, key, meta.keywords);
    }
    return result;
}

}  // namespace tunova::server
