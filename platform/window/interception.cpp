#include "platform/window/interception.h"

#include <utility>

namespace plat::testing {
namespace {

std::function<int(const TrackedMenu&)> g_menuInterceptor;
std::function<int(const ShownMessageBox&)> g_messageBoxInterceptor;

}  // namespace

void InterceptMenus(std::function<int(const TrackedMenu&)> chooser) {
    g_menuInterceptor = std::move(chooser);
}

void InterceptMessageBoxes(std::function<int(const ShownMessageBox&)> answer) {
    g_messageBoxInterceptor = std::move(answer);
}

const std::function<int(const TrackedMenu&)>& MenuInterceptor() {
    return g_menuInterceptor;
}

const std::function<int(const ShownMessageBox&)>& MessageBoxInterceptor() {
    return g_messageBoxInterceptor;
}

}  // namespace plat::testing
