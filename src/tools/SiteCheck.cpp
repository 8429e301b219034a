#include "tools/SiteCheck.h"

#include "tools/StatusProbe.h"

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
    : QObject(parent), sites_(std::move(sites)), results_(sites_.size()), checks_(sites_.size()) {
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        results_[i].key = sites_[i].key;
        results_[i].asked = sites_[i].url;
    }
}

SiteCheck::~SiteCheck() = default;

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
            finish(index, 0, checks_[index].url,
                   QStringLiteral("no answer within %1 s").arg(timeoutMs_ / 1000.0));
        });
        check.limit->start(timeoutMs_);
        ask(index, "HEAD", sites_[index].url);
    }
}

void SiteCheck::ask(std::size_t index, const QByteArray& method, const QUrl& url) {
    Check& check = checks_[index];
    check.method = method;
    check.url = url;
    if (check.probe)
        check.probe->deleteLater();
    auto* probe = new StatusProbe(method, url, proxy_, this);
    check.probe = probe;
    connect(probe, &StatusProbe::answered, this,
            [this, index](int status, const QByteArray& location) {
                answered(index, status, location);
            });
    connect(probe, &StatusProbe::failed, this,
            [this, index](const QString& reason) { finish(index, 0, checks_[index].url, reason); });
    probe->start();
}

void SiteCheck::answered(std::size_t index, int status, const QByteArray& location) {
    Check& check = checks_[index];
    if (check.done)
        return;
    if (status >= 300 && status < 400 && !location.isEmpty()) {
        const QUrl target = check.url.resolved(QUrl::fromEncoded(location));
        const QString refusal = redirectRefusal(check.url, target, check.redirects);
        if (!refusal.isEmpty()) {
            finish(index, status, check.url, refusal);
            return;
        }
        ++check.redirects;
        ask(index, check.method, target);
        return;
    }
    if (check.method == "HEAD" && !check.triedGet && headRefused(status)) {
        check.triedGet = true;
        check.redirects = 0;
        ask(index, "GET", sites_[index].url);
        return;
    }
    finish(index, status, check.url, {});
}

QString SiteCheck::redirectRefusal(const QUrl& from, const QUrl& to, int redirectsSoFar) {
    if (!to.isValid())
        return QStringLiteral("redirect to an invalid address refused");
    if (to.scheme() != u"http" && to.scheme() != u"https")
        return QStringLiteral("redirect to %1: refused").arg(to.scheme());
    if (from.scheme() == u"https" && to.scheme() == u"http")
        return QStringLiteral("redirect from https: to http: refused");
    if (redirectsSoFar >= kMaxRedirects)
        return QStringLiteral("more than %1 redirects").arg(kMaxRedirects);
    return {};
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
    if (StatusProbe* probe = std::exchange(check.probe, nullptr)) {
        probe->disconnect(this);
        probe->deleteLater();
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
