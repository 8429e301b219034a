#include "browser/FailurePage.h"

#include <QRandomGenerator>
#include <QUrlQuery>

namespace browser {

namespace {

constexpr char kLookUpHost[] = "lookup";
constexpr char kUseSiteHost[] = "use-site";
constexpr char kPageHost[] = "page";
constexpr char kRetryHost[] = "retry";
constexpr char kProxySettingsHost[] = "proxy-settings";
constexpr auto kAddressEncoding = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

// The start page's look: the same background, card and colours.
constexpr char kStyle[] = R"(
  html { min-height: 100%; }
  body {
    margin: 0; padding: 1em;
    background: linear-gradient(#f3f3f3, #c6c4ca) fixed;
    color: #333; font-family: "Noto Sans CJK JP", "Meiryo", sans-serif; line-height: 1.5;
  }
  main { max-width: 44em; margin: 0 auto; padding: 1em 2em; background: #fff;
         border-radius: 12px; box-shadow: 0 2px 12px rgba(0, 0, 0, 0.15); }
  h1 { margin: 0 0 0.3em; font-size: 1.4em; color: #646464; }
  h2 { margin: 0.9em 0 0.3em; font-size: 1.1em; color: #2f6db5; }
  .site { margin: 0; font-weight: bold; }
  .address { margin: 0 0 0.5em; color: #666; font-size: 0.9em; word-break: break-all; }
  p { margin: 0.5em 0; }
  .text { margin: 0.5em 0; }
  .text strong { color: #2f6db5; word-break: break-all; }
  .detail { margin: 0.5em 0 0; color: #888; font-size: 0.85em; }
  ul { margin: 0; padding: 0; list-style: none; }
  li { display: flex; align-items: center; justify-content: space-between; gap: 1em;
       padding: 0.2em 0; border-top: 1px solid #e4e4e8; }
  li:first-child { border-top: none; }
  a { color: #2f6db5; }
  a.use { flex: none; padding: 0.1em 0.9em; border: 1px solid #2f6db5; border-radius: 4px;
          color: #2f6db5; text-decoration: none; font-size: 0.9em; }
  a.use:hover { background: #2f6db5; color: #fff; }
  li small { color: #888; }
  .none { color: #666; }
  .actions a.use { display: inline-block; margin: 0.3em 0.5em 0.3em 0; }
)";

QString newToken() {
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(words), sizeof words).toHex());
}

// Escaped for a text node or a double-quoted attribute; characters that do not belong in a
// page (controls) are dropped and long texts are cut.
QString escaped(const QString& text, int maxLength = -1) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n')
            continue;
        if (c.unicode() == 0x7f)
            continue;
        clean.append(c);
    }
    if (maxLength >= 0 && clean.size() > maxLength) {
        qsizetype cut = maxLength;
        if (clean.at(cut - 1).isHighSurrogate())
            --cut; // never split a character in two
        clean = clean.left(cut) + QStringLiteral("…");
    }
    return clean.toHtmlEscaped();
}

QString siteHost(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    return url.host();
}

} // namespace

FailurePage::FailurePage(QUrl address, LoadFailure failure)
    : address_(std::move(address)), failure_(failure), id_(newToken()), token_(newToken()) {}

QUrl FailurePage::pageUrl() const {
    QUrl url;
    url.setScheme(QLatin1StringView(kScheme));
    url.setHost(QLatin1StringView(kPageHost));
    url.setPath(QStringLiteral("/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("id"), id_);
    // In base64: the address keeps its escapes byte for byte.
    query.addQueryItem(QStringLiteral("address"),
                       QString::fromLatin1(address_.toEncoded().toBase64(kAddressEncoding)));
    url.setQuery(query);
    return url;
}

bool FailurePage::isPageUrl(const QUrl& url) {
    return isPageLink(url) && url.host() == QLatin1StringView(kPageHost);
}

QString FailurePage::idOf(const QUrl& pageUrl) {
    if (!isPageUrl(pageUrl))
        return {};
    return QUrlQuery(pageUrl).queryItemValue(QStringLiteral("id"));
}

std::optional<QUrl> FailurePage::failedAddressOf(const QUrl& pageUrl) {
    if (!isPageUrl(pageUrl))
        return std::nullopt;
    const QByteArray::FromBase64Result encoded = QByteArray::fromBase64Encoding(
        QUrlQuery(pageUrl).queryItemValue(QStringLiteral("address")).toLatin1(),
        kAddressEncoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!encoded)
        return std::nullopt;
    const QUrl address = QUrl::fromEncoded(*encoded, QUrl::StrictMode);
    if (!address.isValid() || address.isEmpty())
        return std::nullopt;
    return address;
}

void FailurePage::renewToken() {
    token_ = newToken();
}

void FailurePage::dropToken() {
    token_.clear();
}

void FailurePage::setLookup(Lookup lookup) {
    isLookup_ = true;
    lookup_ = std::move(lookup);
}

QString FailurePage::title() const {
    if (lookup_.siteCaption.isEmpty())
        return failure_.heading();
    return QStringLiteral("%1：%2").arg(lookup_.siteCaption, failure_.heading());
}

QUrl FailurePage::requestUrl(const Alternative& alternative, Request::Kind kind) const {
    QUrl url;
    url.setScheme(QLatin1StringView(kScheme));
    url.setHost(QLatin1StringView(kind == Request::Kind::UseSite ? kUseSiteHost : kLookUpHost));
    url.setPath(QStringLiteral("/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("site"), alternative.siteKey);
    query.addQueryItem(QStringLiteral("token"), token_);
    url.setQuery(query);
    return url;
}

QUrl FailurePage::actionUrl(Request::Kind kind) const {
    QUrl url;
    url.setScheme(QLatin1StringView(kScheme));
    url.setHost(
        QLatin1StringView(kind == Request::Kind::ProxySettings ? kProxySettingsHost : kRetryHost));
    url.setPath(QStringLiteral("/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("token"), token_);
    url.setQuery(query);
    return url;
}

bool FailurePage::isPageLink(const QUrl& url) {
    return url.scheme() == QLatin1StringView(kScheme);
}

std::optional<FailurePage::Request> FailurePage::request(const QUrl& url) const {
    if (!isPageLink(url))
        return std::nullopt;
    Request r;
    if (url.host() == QLatin1StringView(kUseSiteHost))
        r.kind = Request::Kind::UseSite;
    else if (url.host() == QLatin1StringView(kLookUpHost))
        r.kind = Request::Kind::LookUp;
    else if (url.host() == QLatin1StringView(kRetryHost))
        r.kind = Request::Kind::Retry;
    else if (url.host() == QLatin1StringView(kProxySettingsHost))
        r.kind = Request::Kind::ProxySettings;
    else
        return std::nullopt;
    const QUrlQuery query(url);
    if (token_.isEmpty() || query.queryItemValue(QStringLiteral("token")) != token_)
        return std::nullopt;
    if (r.kind == Request::Kind::Retry)
        return failure_.concernsEverySite() ? std::optional(r) : std::nullopt;
    if (r.kind == Request::Kind::ProxySettings)
        return failure_.kind == LoadFailureKind::Proxy ? std::optional(r) : std::nullopt;
    // Another site fails alike when the network or the proxy is down.
    if (failure_.concernsEverySite())
        return std::nullopt;
    const QString site = query.queryItemValue(QStringLiteral("site"));
    for (const Alternative& a : lookup_.alternatives) {
        if (a.siteKey == site) {
            r.alternative = &a;
            return r;
        }
    }
    return std::nullopt;
}

QString FailurePage::html() const {
    QString h;
    h += QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src "
                        "'none'; style-src 'unsafe-inline'\">\n"
                        "<title>%1</title>\n<style>%2</style>\n</head>\n<body>\n<main>\n")
             .arg(escaped(title()), QLatin1StringView(kStyle));
    h += QStringLiteral("<h1>%1</h1>\n").arg(escaped(failure_.heading()));
    if (!lookup_.siteCaption.isEmpty())
        h += QStringLiteral("<p class=\"site\">%1</p>\n").arg(escaped(lookup_.siteCaption));
    h += QStringLiteral("<p class=\"address\">%1</p>\n")
             .arg(escaped(address_.toDisplayString(), kShownAddressLength));
    h += QStringLiteral("<p>%1</p>\n").arg(escaped(failure_.description()));
    if (isLookup_ && !lookup_.text.isEmpty())
        h += QStringLiteral("<p class=\"text\">調べた言葉：<strong>%1</strong></p>\n")
                 .arg(escaped(lookup_.text, kShownTextLength));
    h += QStringLiteral("<p class=\"detail\">");
    if (const QString detail = failure_.technicalDetail(); !detail.isEmpty())
        h += QStringLiteral("%1。").arg(escaped(detail));
    h += QStringLiteral("再読み込みすると、このアドレスをもう一度開きます。</p>\n");

    if (failure_.concernsEverySite()) {
        h += QStringLiteral("<h2>できること</h2>\n<p>%1</p>\n<p class=\"actions\">")
                 .arg(failure_.kind == LoadFailureKind::Proxy
                          ? QStringLiteral("ほかのサイトも同じプロキシサーバーを通るため、"
                                           "表示できません。プロキシの設定を直すか、"
                                           "つながってからもう一度読み込んでください。")
                          : QStringLiteral("ほかのサイトも同じ理由で表示できません。"
                                           "つながってからもう一度読み込んでください。"));
        h += QStringLiteral("<a class=\"use\" id=\"retry\" href=\"%1\">もう一度読み込む</a>")
                 .arg(escaped(QString::fromUtf8(actionUrl(Request::Kind::Retry).toEncoded())));
        if (failure_.kind == LoadFailureKind::Proxy)
            h += QStringLiteral(
                     " <a class=\"use\" id=\"proxy-settings\" href=\"%1\">プロキシの設定を開く</a>")
                     .arg(escaped(
                         QString::fromUtf8(actionUrl(Request::Kind::ProxySettings).toEncoded())));
        h += QStringLiteral("</p>\n");
    } else if (isLookup_) {
        h += QStringLiteral("<h2>ほかのサイトで調べる</h2>\n");
        if (lookup_.alternatives.empty()) {
            h += QStringLiteral("<p class=\"none\">この分類にはほかのサイトがありません。</p>\n");
        } else {
            h += QStringLiteral("<ul>\n");
            for (const Alternative& a : lookup_.alternatives) {
                const QString lookUp =
                    QString::fromUtf8(requestUrl(a, Request::Kind::LookUp).toEncoded());
                const QString use =
                    QString::fromUtf8(requestUrl(a, Request::Kind::UseSite).toEncoded());
                h +=
                    QStringLiteral("<li><span><a class=\"lookup\" href=\"%1\" title=\"%2\">%3</a>"
                                   " <small>%4</small></span>"
                                   "<a class=\"use\" href=\"%5\">このサイトに切り替える</a></li>\n")
                        .arg(escaped(lookUp), escaped(a.address, kShownAddressLength),
                             escaped(a.caption), escaped(siteHost(a.address)), escaped(use));
            }
            h += QStringLiteral("</ul>\n");
        }
    }
    h += QStringLiteral("</main>\n</body>\n</html>\n");
    return h;
}

} // namespace browser
