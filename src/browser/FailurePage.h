#pragma once

#include "browser/LoadFailure.h"

#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

namespace browser {

// The page a tab shows in place of one that could not be loaded: what failed and why, in
// Japanese, and for a lookup the program started, the slot's other sites to turn to.
//
// The page talks back through links of a scheme of its own: one to look the text up at an
// alternative, one to make an alternative the slot's site. Each page carries a random token
// in them, so that only the buttons of a page the program made are taken up, never an
// address some other page made up.
class FailurePage {
public:
    // The scheme of the page's own links. It must be registered with the engine (without the
    // local-scheme flag, which would keep the page from following its own links).
    static constexpr char kScheme[] = "lexorra2-failure";

    struct Alternative {
        QString siteKey;
        QString caption;
        QString address; // the query, exactly as the catalogue builds it
    };

    // What the program knows of a lookup it started: the site's caption, the text looked up
    // and the other sites of its slot.
    struct Lookup {
        QString siteCaption;
        QString text;
        std::vector<Alternative> alternatives;
    };

    // What one of the page's links asks for.
    struct Request {
        enum class Kind { LookUp, UseSite };
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

    // The link of the page that asks for an alternative: its lookup, or making it the slot's.
    QUrl requestUrl(const Alternative& alternative, Request::Kind kind) const;
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
    QString token_;
    bool isLookup_ = false;
    Lookup lookup_;
};

} // namespace browser
