#pragma once

#include "browser/LoadFailure.h"

#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

namespace browser {

// The page a tab shows in place of one that could not be loaded: what failed and why, in
// Japanese, and for a lookup the program started, the category's other sites to turn to. When the
// network or the proxy server is the cause, every other site would fail alike: the page offers
// to try again (and the proxy settings) in their place.
//
// The page is served from a scheme of the program's own, where no site's script runs and no
// site's document can reach it; its address there names it by a random id and carries the
// failed address. It talks back through links of the same scheme: one to look the text up
// at an alternative, one to make an alternative the category's site. Every copy of the page
// served carries a new random token in them, good for one link: so only the buttons of the
// page the program shows are taken up, never an address some other page made up or kept.
class FailurePage {
public:
    // The scheme of the page and its links. It must be registered with the engine (without
    // the local-scheme flag, which would keep a site's empty error document from giving way
    // to the page; the program refuses every navigation to it that it did not start).
    static constexpr char kScheme[] = "lexorra2-failure";

    struct Alternative {
        QString siteKey;
        QString caption;
        QString address; // the query, exactly as the catalogue builds it
    };

    // What the program knows of a lookup it started: the site's caption, the text looked up
    // and the other sites of its category.
    struct Lookup {
        QString siteCaption;
        QString text;
        std::vector<Alternative> alternatives;
    };

    // What one of the page's links asks for. The alternative is set for LookUp and UseSite;
    // Retry asks the failed address again, ProxySettings opens the proxy settings.
    struct Request {
        enum class Kind { LookUp, UseSite, Retry, ProxySettings };
        Kind kind = Kind::LookUp;
        const Alternative* alternative = nullptr;
    };

    // A failure of a page the program did not start itself: no site, text or alternatives.
    FailurePage(QUrl address, LoadFailure failure);

    // The lookup that failed.
    void setLookup(Lookup lookup);

    const QUrl& address() const { return address_; }
    const LoadFailure& failure() const { return failure_; }
    const std::vector<Alternative>& alternatives() const { return lookup_.alternatives; }
    bool isLookup() const { return isLookup_; }

    QString title() const;
    // The whole page, every text and address from outside escaped.
    QString html() const;

    // The page's own address: the program's scheme, its id and the failed address.
    QUrl pageUrl() const;
    const QString& id() const { return id_; }
    // Whether url is the address of a failure page, and which, and what failed.
    static bool isPageUrl(const QUrl& url);
    static QString idOf(const QUrl& pageUrl);
    static std::optional<QUrl> failedAddressOf(const QUrl& pageUrl);

    // A copy of the page is about to be served: its links get a token of their own, and the
    // links of every copy before stop working.
    void renewToken();
    // The links stop working (the page is going away, or one of them was taken).
    void dropToken();

    // The link of the page that asks for an alternative: its lookup, or making it the category's.
    QUrl requestUrl(const Alternative& alternative, Request::Kind kind) const;
    // The link of the page that asks for retrying or for the proxy settings.
    QUrl actionUrl(Request::Kind kind) const;
    // What a link of this page asks for, or nothing when url is no link of this page.
    std::optional<Request> request(const QUrl& url) const;
    // Whether url uses the page's scheme at all. Such addresses are never loaded.
    static bool isPageLink(const QUrl& url);

    // Displayed text is cut after this many characters; the lookups use all of it.
    static constexpr int kShownTextLength = 200;
    static constexpr int kShownAddressLength = 300;

private:
    QUrl address_;
    LoadFailure failure_;
    QString id_;
    QString token_;
    bool isLookup_ = false;
    Lookup lookup_;
};

} // namespace browser
