#include "browser/StartPage.h"

#include "browser/StartPageSchemeHandler.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>

namespace browser {

namespace {

constexpr char kStartPageHost[] = "home";

} // namespace

QString startPageUrl() {
    return QStringLiteral("%1://%2%3")
        .arg(QLatin1StringView(kStartPageScheme), QLatin1StringView(kStartPageHost),
             QLatin1StringView(kStartPagePath));
}

QString newTabPageUrl() {
    return QStringLiteral("https://www.google.co.jp/");
}

void registerStartPageScheme() {
    if (QWebEngineUrlScheme::schemeByName(kStartPageScheme).name() == kStartPageScheme)
        return;
    QWebEngineUrlScheme scheme(kStartPageScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void installStartPage(QWebEngineProfile* profile) {
    if (!profile)
        profile = QWebEngineProfile::defaultProfile();
    if (profile->urlSchemeHandler(kStartPageScheme))
        return;
    profile->installUrlSchemeHandler(kStartPageScheme, new StartPageSchemeHandler(profile));
}

QByteArray startPageHtml() {
    QFile file(QStringLiteral(":/browser/Lexorra2pro_LOGO.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace browser
