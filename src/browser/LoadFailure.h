#pragma once

#include <QMetaType>
#include <QString>
#include <optional>

namespace browser {

// How the engine ended loading a page's main frame, in the engine's own terms. The values
// follow QWebEngineLoadingInfo, so that this stays free of the engine.
enum class LoadEnd { Started, Stopped, Succeeded, Failed };
enum class LoadErrorDomain {
    None,
    Internal,
    Connection,
    Certificate,
    Http,
    Ftp,
    Dns,
    HttpStatusCode,
};

// Why a page could not be shown, in the terms the user is told.
enum class LoadFailureKind {
    NameNotResolved,   // the host name is unknown: a closed site or a moved one
    ConnectionRefused, // nothing answers at the site's address
    ConnectionReset,   // the connection broke off before a page came
    SecureConnection,  // TLS could not be set up or the certificate is not trusted
    TimedOut,          // no answer in time
    HttpStatus,        // an error status without a page of the site's own
    NoNetwork,         // the computer is not connected
    Proxy,             // the proxy server could not be reached or refused the request
    Other,
};

struct LoadFailure {
    LoadFailure() = default;
    LoadFailure(LoadFailureKind kind, int code, QString proxy = {})
        : kind(kind), code(code), proxy(std::move(proxy)) {}

    LoadFailureKind kind = LoadFailureKind::Other;
    // The engine's network error (negative) or the HTTP status.
    int code = 0;
    // The proxy server the failure is laid to ("host:port"), when one is named.
    QString proxy;

    // What the engine reported at the end of a main-frame load, as a failure or nothing.
    //
    // A load stopped on purpose (by the user, or because the answer was a download or
    // "no content") is no failure, nor is a page that loaded. An HTTP error status comes back
    // as HttpStatus even when the site sent a page of its own with it (a "not found" page that
    // says there are no results): only the page can tell, so whoever shows the page keeps the
    // site's page when it has content.
    static std::optional<LoadFailure> fromEngine(LoadEnd end, LoadErrorDomain domain, int code);
    // The program's own limit on waiting for a site's answer ran out.
    static LoadFailure timedOut() { return {LoadFailureKind::TimedOut, 0}; }

    // One heading and one or two sentences in plain Japanese.
    QString heading() const;
    QString description() const;
    // The engine's code as a user could report it ("HTTP 404", "エラー -105"); empty for the
    // program's own time-out.
    QString technicalDetail() const;

    // The proxy server was reached but could not reach the site: the site may be gone, or the
    // proxy may reach no site at all.
    bool proxyReachedNoSite() const;
    // A name the engine itself could not resolve; the site's or the network's fault.
    bool nameUnresolved() const { return kind == LoadFailureKind::NameNotResolved; }

    // A failure that every site would give now, not just this one: worth one word in the
    // status bar rather than one per lookup.
    bool concernsEverySite() const;

    friend bool operator==(const LoadFailure&, const LoadFailure&) = default;
};

} // namespace browser

Q_DECLARE_METATYPE(browser::LoadFailure)
