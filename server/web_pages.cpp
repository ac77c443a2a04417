#include "server/web_pages.h"

#include "server/xml_text.h"

namespace tunova::server {

namespace {

std::string Page(std::string_view title, std::string_view body) {
    std::string out = "<!DOCTYPE html>\n<html lang='ko'>\n<head>\n<meta charset='utf-8'>\n<title>";
    AppendXmlEscaped(out, title);
    out += "</title>\n</head>\n<body>\n";
    out += body;
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace

std::string HomePage(std::string_view playerVersion) {
    std::string body =
        "<h1>투노바 Tunova</h1>\n"
        "<p>뮤직비디오 플레이어 투노바의 홈페이지입니다. Tunova, the music-video player.</p>\n"
        "<p>최신 버전: ";
    AppendXmlEscaped(body, playerVersion);
    body +=
        "</p>\n<ul>\n<li><a href='/web/bbs/board.php?bo_table=freeboard'>묻고 답하기 "
        "(Q&amp;A)</a></li>\n"
        "<li><a href='/feeds/api/videos/-/Music?orderby=rating&amp;max-results=50&amp;start-index="
        "1&amp;lr=ko&amp;time=this_month'>이달의 인기 뮤직비디오 50</a></li>\n</ul>\n";
    return Page("투노바 Tunova", body);
}

std::string FreeBoardPage() {
    return Page("투노바 자유게시판",
                "<h1>자유게시판</h1>\n"
                "<p>투노바에 대한 질문과 의견을 남겨 주세요. Questions and answers about "
                "Tunova.</p>\n"
                "<table>\n<tr><th>번호</th><th>제목</th><th>글쓴이</th></tr>\n"
                "<tr><td>1</td><td>투노바 플레이어 사용 안내</td><td>운영자</td></tr>\n"
                "</table>\n<p><a href='/'>홈으로</a></p>\n");
}

std::string WatchPage(std::string_view id) {
    std::string source = "/media/" + XmlEscaped(id);
    return Page("Tunova", "<video controls autoplay src='" + source + "'></video>\n");
}

}  // namespace tunova::server
