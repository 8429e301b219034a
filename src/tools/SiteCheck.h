#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QUrl>
#include <vector>

class QTimer;

namespace tools {

class StatusProbe;

// Asks sites whether their query address still leads to a page: HEAD first, GET where a site
// answers HEAD with an error, redirects followed, a few sites at a time, each within a time
// limit. Only the status line and headers of each answer are read, and those only up to a
// bound, so no server can make a check hold much memory.
class SiteCheck : public QObject {
    Q_OBJECT
public:
    struct Site {
        QString key;
        QUrl url;
    };

    struct Result {
        QString key;
        QUrl asked;
        QUrl finalUrl;  // after redirects
        int status = 0; // the final HTTP status, 0 when none came
        QString error;  // empty when the site answered
        qint64 elapsedMs = 0;
        bool ok() const { return error.isEmpty() && status >= 200 && status < 300; }
    };

    static constexpr int kDefaultParallel = 4;
    static constexpr int kDefaultTimeoutMs = 15000;
    static constexpr int kMaxRedirects = 10;

    explicit SiteCheck(std::vector<Site> sites, QObject* parent = nullptr);
    ~SiteCheck() override;

    void setProxy(const QNetworkProxy& proxy) { proxy_ = proxy; }
    void setParallel(int count) { parallel_ = qMax(1, count); }
    void setTimeoutMs(int ms) { timeoutMs_ = ms; }

    void start();
    const std::vector<Result>& results() const { return results_; }

Q_SIGNALS:
    // Results come in the order of the sites given, each as soon as it and all before it are
    // known.
    void resultReady(const tools::SiteCheck::Result& result);
    void finished();

private:
    struct Check {
        StatusProbe* probe = nullptr;
        QTimer* limit = nullptr;
        QElapsedTimer clock;
        QByteArray method;
        QUrl url; // the address asked now, after redirects
        int redirects = 0;
        bool triedGet = false;
        bool done = false;
    };

    void startNext();
    void ask(std::size_t index, const QByteArray& method, const QUrl& url);
    void answered(std::size_t index, int status, const QByteArray& location);
    // The reason not to follow a redirect from `from` to `to`, empty to follow it.
    static QString redirectRefusal(const QUrl& from, const QUrl& to, int redirectsSoFar);
    void finish(std::size_t index, int status, const QUrl& finalUrl, const QString& error);
    void report();

    QNetworkProxy proxy_{QNetworkProxy::NoProxy};
    std::vector<Site> sites_;
    std::vector<Result> results_;
    std::vector<Check> checks_;
    std::size_t nextToStart_ = 0;
    std::size_t nextToReport_ = 0;
    int running_ = 0;
    int parallel_ = kDefaultParallel;
    int timeoutMs_ = kDefaultTimeoutMs;
};

} // namespace tools
