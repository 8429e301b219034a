#include "tools/SiteCheck.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <utility>

namespace tools {

namespace {

// A site that refuses HEAD may answer it with any error; GET tells.
bool headRefused(int status) {
    return status >= 400;
}

} // namespace

SiteCheck::SiteCheck(std::vector<Site> sites, QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)), sites_(std::move(sites)),
      results_(sites_.size()), checks_(sites_.size()) {
    network_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    network_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        results_[i].key = sites_[i].key;
        results_[i].asked = sites_[i].url;
    }
}

SiteCheck::~SiteCheck() = default;

void SiteCheck::setProxy(const QNetworkProxy& proxy) {
    network_->setProxy(proxy);
}

void SiteCheck::start() {
    if (sites_.empty()) {
        QTimer::singleShot(0, this, &SiteCheck::finished);
        return;
    }
    startNext();
}

void SiteCheck::startNext() {
    while (running_ < parallel_ && nextToStart_ < sites_.size()) {
        const std::size_t index = nextToStart_++;
        ++running_;
        Check& check = checks_[index];
        check.clock.start();
        check.limit = new QTimer(this);
        check.limit->setSingleShot(true);
        connect(check.limit, &QTimer::timeout, this, [this, index] {
            finish(index, 0, results_[index].asked,
                   QStringLiteral("no answer within %1 s").arg(timeoutMs_ / 1000.0));
        });
        check.limit->start(timeoutMs_);
        ask(index, "HEAD");
    }
}

void SiteCheck::ask(std::size_t index, const QByteArray& method) {
    QNetworkRequest request(sites_[index].url);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Mozilla/5.0 (X11; Linux x86_64) lexorra2-url --check"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = method == "HEAD" ? network_->head(request) : network_->get(request);
    checks_[index].reply = reply;
    const bool headersOnly = method == "HEAD";
    // A GET is over as soon as the page starts to come: its body is not needed.
    if (!headersOnly)
        connect(reply, &QNetworkReply::readyRead, this,
                [this, index, reply] { answered(index, reply, false); });
    connect(reply, &QNetworkReply::finished, this,
            [this, index, reply, headersOnly] { answered(index, reply, headersOnly); });
}

void SiteCheck::answered(std::size_t index, QNetworkReply* reply, bool headersOnly) {
    Check& check = checks_[index];
    if (check.done || check.reply != reply)
        return;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl finalUrl = reply->url();
    if (headersOnly && !check.triedGet &&
        (headRefused(status) ||
         reply->error() == QNetworkReply::ContentOperationNotPermittedError)) {
        check.triedGet = true;
        check.reply = nullptr;
        reply->deleteLater();
        ask(index, "GET");
        return;
    }
    QString error;
    if (status == 0 && reply->error() != QNetworkReply::NoError)
        error = reply->errorString();
    else if (reply->error() == QNetworkReply::TooManyRedirectsError ||
             reply->error() == QNetworkReply::InsecureRedirectError)
        error = reply->errorString();
    finish(index, status, finalUrl, error);
}

void SiteCheck::finish(std::size_t index, int status, const QUrl& finalUrl, const QString& error) {
    Check& check = checks_[index];
    if (check.done)
        return;
    check.done = true;
    Result& result = results_[index];
    result.status = status;
    result.finalUrl = finalUrl;
    result.error = error;
    result.elapsedMs = check.clock.elapsed();
    if (check.limit) {
        check.limit->stop();
        check.limit->deleteLater();
        check.limit = nullptr;
    }
    if (QNetworkReply* reply = std::exchange(check.reply, nullptr)) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    --running_;
    report();
    startNext();
}

void SiteCheck::report() {
    const bool allReported = nextToReport_ == results_.size();
    while (nextToReport_ < results_.size() && checks_[nextToReport_].done)
        Q_EMIT resultReady(results_[nextToReport_++]);
    if (!allReported && nextToReport_ == results_.size())
        Q_EMIT finished();
}

} // namespace tools
