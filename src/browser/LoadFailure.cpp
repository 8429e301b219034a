#include "browser/LoadFailure.h"

#include <algorithm>
#include <initializer_list>

namespace browser {

namespace {

// The engine's network errors (Chromium's net error list) that each kind stands for.
constexpr int kAborted = -3;
constexpr std::initializer_list<int> kNameNotResolved = {-105, -137};
constexpr std::initializer_list<int> kRefused = {-102, -104, -108};
constexpr std::initializer_list<int> kReset = {-100, -101, -103, -324};
constexpr std::initializer_list<int> kTimedOut = {-7, -118, -803};
// Offline, no route to the address, or the network refused to this program.
constexpr std::initializer_list<int> kNoNetwork = {-106, -109, -138, -340};
constexpr std::initializer_list<int> kProxy = {-111, -115, -120, -121, -127, -130, -131, -323};
// The proxy answered but could not open the way to the site (a tunnel or a SOCKS connection).
constexpr std::initializer_list<int> kProxyReachedNoSite = {-111, -121};
// TLS errors outside the certificate range.
constexpr std::initializer_list<int> kSecure = {
    -107, -110, -112, -113, -114, -117, -123, -125, -126, -129, -134, -141, -148, -149,
    -150, -151, -153, -156, -159, -164, -172, -176, -179, -180, -181, -182, -183};
constexpr int kCertificateFirst = -299; // certificate errors run from -200 down to -299
constexpr int kCertificateLast = -200;
constexpr int kDnsFirst = -899; // resolver errors run from -800 down to -899
constexpr int kDnsLast = -800;

bool among(std::initializer_list<int> codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

LoadFailureKind kindOfNetworkError(LoadErrorDomain domain, int code) {
    if (among(kTimedOut, code))
        return LoadFailureKind::TimedOut;
    if (among(kNameNotResolved, code) || domain == LoadErrorDomain::Dns ||
        (code >= kDnsFirst && code <= kDnsLast))
        return LoadFailureKind::NameNotResolved;
    if (among(kRefused, code))
        return LoadFailureKind::ConnectionRefused;
    if (among(kReset, code))
        return LoadFailureKind::ConnectionReset;
    if (among(kSecure, code) || domain == LoadErrorDomain::Certificate ||
        (code >= kCertificateFirst && code <= kCertificateLast))
        return LoadFailureKind::SecureConnection;
    if (among(kNoNetwork, code))
        return LoadFailureKind::NoNetwork;
    if (among(kProxy, code))
        return LoadFailureKind::Proxy;
    return LoadFailureKind::Other;
}

// What an HTTP error status means to a reader.
QString statusMeaning(int status) {
    switch (status) {
    case 400:
        return QStringLiteral("要求が正しくありません");
    case 401:
    case 407:
        return QStringLiteral("認証が必要です");
    case 403:
        return QStringLiteral("アクセスが拒否されました");
    case 404:
        return QStringLiteral("ページが見つかりません");
    case 410:
        return QStringLiteral("ページは削除されました");
    case 429:
        return QStringLiteral("要求が多すぎます");
    case 500:
        return QStringLiteral("サーバー内部のエラー");
    case 502:
    case 504:
        return QStringLiteral("中継先のサーバーが応答しません");
    case 503:
        return QStringLiteral("サービスが一時的に利用できません");
    default:
        return status >= 500 ? QStringLiteral("サーバーのエラー")
                             : QStringLiteral("要求を受け付けられません");
    }
}

} // namespace

std::optional<LoadFailure> LoadFailure::fromEngine(LoadEnd end, LoadErrorDomain domain, int code) {
    if (end == LoadEnd::Started || end == LoadEnd::Stopped)
        return std::nullopt;
    if (domain == LoadErrorDomain::HttpStatusCode) {
        if (code >= 400)
            return LoadFailure{LoadFailureKind::HttpStatus, code};
        // The engine reports the status of a page that loaded this way too.
        if (end == LoadEnd::Succeeded)
            return std::nullopt;
    }
    if (end == LoadEnd::Succeeded)
        return std::nullopt;
    // A load cut short because another took its place, or because the answer was not a page.
    if (code == kAborted)
        return std::nullopt;
    if (code == 0 || domain == LoadErrorDomain::HttpStatusCode)
        return LoadFailure{LoadFailureKind::Other, code};
    return LoadFailure{kindOfNetworkError(domain, code), code};
}

QString LoadFailure::heading() const {
    switch (kind) {
    case LoadFailureKind::NameNotResolved:
        return QStringLiteral("サイトが見つかりません");
    case LoadFailureKind::ConnectionRefused:
        return QStringLiteral("サイトに接続できません");
    case LoadFailureKind::ConnectionReset:
        return QStringLiteral("サイトとの接続が切れました");
    case LoadFailureKind::SecureConnection:
        return QStringLiteral("安全な接続ができません");
    case LoadFailureKind::TimedOut:
        return QStringLiteral("サイトが応答しません");
    case LoadFailureKind::HttpStatus:
        return QStringLiteral("サイトがエラーを返しました");
    case LoadFailureKind::NoNetwork:
        return QStringLiteral("ネットワークに接続されていません");
    case LoadFailureKind::Proxy:
        return QStringLiteral("プロキシサーバーに接続できません");
    case LoadFailureKind::Other:
        break;
    }
    return QStringLiteral("ページを表示できません");
}

QString LoadFailure::description() const {
    switch (kind) {
    case LoadFailureKind::NameNotResolved:
        return QStringLiteral("サイトのアドレス（ホスト名）が見つかりませんでした。"
                              "サイトが閉鎖されたか、アドレスが変わった可能性があります。");
    case LoadFailureKind::ConnectionRefused:
        return QStringLiteral("サイトのサーバーが接続を受け付けませんでした。"
                              "サイトが停止しているか、サービスを終了した可能性があります。");
    case LoadFailureKind::ConnectionReset:
        return QStringLiteral("ページを受け取る前に、サイトとの接続が途中で切れました。"
                              "しばらくしてから再読み込みしてください。");
    case LoadFailureKind::SecureConnection:
        return QStringLiteral("サイトとの暗号化された接続を確立できませんでした。"
                              "サイトの証明書か設定に問題がある可能性があります。");
    case LoadFailureKind::TimedOut:
        return QStringLiteral("サイトから時間内に応答がありませんでした。"
                              "サイトが混み合っているか、停止している可能性があります。");
    case LoadFailureKind::HttpStatus:
        return QStringLiteral("サイトは「%1」（%2）と答え、ページを送ってきませんでした。")
            .arg(statusMeaning(code))
            .arg(code);
    case LoadFailureKind::NoNetwork:
        return QStringLiteral("このコンピューターはネットワークにつながっていないようです。"
                              "接続を確かめてから再読み込みしてください。");
    case LoadFailureKind::Proxy:
        if (!proxy.isEmpty())
            return QStringLiteral("設定されたプロキシサーバー（%1）に接続できないか、"
                                  "プロキシサーバーが要求を断りました。"
                                  "プロキシの設定を確かめてください。")
                .arg(proxy);
        return QStringLiteral(
            "設定されたプロキシサーバーに接続できないか、"
            "プロキシサーバーが要求を断りました。プロキシの設定を確かめてください。");
    case LoadFailureKind::Other:
        break;
    }
    return QStringLiteral("ページを読み込めませんでした。");
}

QString LoadFailure::technicalDetail() const {
    if (kind == LoadFailureKind::HttpStatus)
        return QStringLiteral("HTTP %1").arg(code);
    if (code == 0)
        return {};
    return QStringLiteral("エラー %1").arg(code);
}

bool LoadFailure::proxyReachedNoSite() const {
    return kind == LoadFailureKind::Proxy && among(kProxyReachedNoSite, code);
}

bool LoadFailure::concernsEverySite() const {
    return kind == LoadFailureKind::NoNetwork || kind == LoadFailureKind::Proxy;
}

} // namespace browser
