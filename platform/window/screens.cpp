// The screens from the toolkit, or the list a test put in their place.
#include "platform/window/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <optional>

#include "platform/draw/draw_impl.h"

namespace plat {
namespace {

std::optional<std::vector<Screen>>& Override() {
    static std::optional<std::vector<Screen>> screens;
    return screens;
}

}  // namespace

std::vector<Screen> Screens() {
    if (Override()) {
        return *Override();
    }
    std::vector<Screen> screens;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        screens.push_back(
            {FromQRect(primary->geometry()), FromQRect(primary->availableGeometry())});
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            screens.push_back(
                {FromQRect(screen->geometry()), FromQRect(screen->availableGeometry())});
        }
    }
    if (screens.empty()) {
        const Rect fallback{0, 0, 800, 600};
        screens.push_back({fallback, fallback});
    }
    return screens;
}

const Screen* ScreenUnder(Point point, const std::vector<Screen>& screens) {
    const Screen* nearest = nullptr;
    long long nearestDistance = 0;
    for (const Screen& screen : screens) {
        const Rect& g = screen.geometry;
        if (g.Contains(point)) {
            return &screen;
        }
        const long long dx = point.x < g.left     ? g.left - point.x
                             : point.x >= g.right ? point.x - (g.right - 1)
                                                  : 0;
        const long long dy = point.y < g.top       ? g.top - point.y
                             : point.y >= g.bottom ? point.y - (g.bottom - 1)
                                                   : 0;
        const long long distance = dx * dx + dy * dy;
        if (nearest == nullptr || distance < nearestDistance) {
            nearest = &screen;
            nearestDistance = distance;
        }
    }
    return nearest;
}

Rect WorkAreaUnder(const Rect& rect) {
    const std::vector<Screen> screens = Screens();
    const Point centre{rect.left + rect.Width() / 2, rect.top + rect.Height() / 2};
    return ScreenUnder(centre, screens)->workArea;
}

namespace testing {

void OverrideScreens(std::vector<Screen> screens) {
    if (screens.empty()) {
        Override().reset();
    } else {
        Override() = std::move(screens);
    }
}

}  // namespace testing
}  // namespace plat
