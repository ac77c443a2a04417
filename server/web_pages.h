// The vendor's plain HTML pages: the home page, the question board and a watch page.
#pragma once

#include <string>
#include <string_view>

namespace tunova::server {

// The home page, with the player's version and a link to the board. Never fails.
std::string HomePage(std::string_view playerVersion);

// The free board ("/web/bbs/board.php?bo_table=freeboard"). Never fails.
std::string FreeBoardPage();

// A page playing video `id` (already validated) from /media/. Never fails.
std::string WatchPage(std::string_view id);

}  // namespace tunova::server
