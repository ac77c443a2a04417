// The default browser through Qt's desktop services.
#include "platform/controls/web_link.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace plat {
namespace {

std::function<bool(const std::string&)>& Interceptor() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

bool IsWebAddress(const std::string& url) {
    return url.starts_with("http://") || url.starts_with("https://");
}

}  // namespace

bool OpenInBrowser(const std::string& url) {
    if (!IsWebAddress(url)) {
        return false;
    }
    if (Interceptor()) {
        return Interceptor()(url);
    }
    const QUrl address(QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size())),
                       QUrl::StrictMode);
    return address.isValid() && QDesktopServices::openUrl(address);
}

namespace testing {
void InterceptBrowser(std::function<bool(const std::string&)> opener) {
    Interceptor() = std::move(opener);
}
}  // namespace testing

}  // namespace plat
