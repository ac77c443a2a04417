// The GData-shaped Atom feed the player reads. The player's reader counts the literal text
// "<entry>", walks an entry's children in the order updated, title, content, first link,
// media:group, and reads href= and seconds= from self-closing start tags; the shape below keeps
// to all of that.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "server/catalogue.h"
#include "server/feed_query.h"

namespace tunova::server {

// Renders `page` for `query` as a UTF-8 Atom feed. `host` (the request's Host header, with
// its port) is used for ids and the watch links "http://HOST/watch?v=ID&feature=youtube_gdata";
// `now` is the feed's updated time. Never fails; all text is XML-escaped.
std::string RenderFeed(const CataloguePage& page, const FeedQuery& query, std::string_view host,
                       std::int64_t now);

}  // namespace tunova::server
