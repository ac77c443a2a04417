#include "bare_page.h"

#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

BarePage::BarePage(const std::string& address, int width, int height)
    : view_(std::make_unique<QWebEngineView>()) {
    view_->page()->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    view_->resize(width, height);
    const QString html = QStringLiteral(
                             "<html><body style='margin:0;background:#000;overflow:hidden'>"
                             "<video style='width:100vw;height:100vh' autoplay src='%1' "
                             "onplaying=\"document.title='playing'\"></video></body></html>")
                             .arg(QString::fromStdString(address));
    view_->setHtml(html, QUrl(QString::fromStdString(address)));
    view_->show();
}

BarePage::~BarePage() = default;

bool BarePage::Playing() const {
    return view_->title() == QStringLiteral("playing");
}
