#pragma once

#include <QUrl>
#include <optional>
#include <variant>

namespace browser {

// Follows the last load the program asked a page for until the page shows it.
//
// While one navigation is being committed and another is on its way, the engine now and
// then loses a load asked for: either it never takes it up (no request leaves), or its
// request leaves and the page still ends on the older address.
//
// A page may also end loading an older address while the newer navigation is still on its
// way, so the two cases are told apart differently. A load never taken up is asked for again
// as soon as the page ends loading something else: no request left for it, so none is sent
// twice. A load taken up is asked for again only when the page still has not shown it a
// while later.
class NavigationWatch {
public:
    // Asking again is bounded: a site that answers without a page (a download, "no content")
    // leaves the page where it was, and gets one more request, not a loop.
    static constexpr int kMaxRetries = 1;
    // How long a load the engine took up may stay unshown after the page ended loading
    // another address.
    static constexpr int kCheckAfterMs = 1500;

    struct AskAgain {
        QUrl url;
    };
    struct CheckLater {};
    using Decision = std::variant<std::monostate, AskAgain, CheckLater>;

    // The program asked for url.
    void asked(const QUrl& url);
    // The user or the page went somewhere else (back, forward, reload, a link, a new window
    // put into the page): the load asked for before no longer matters.
    void superseded();
    // The engine took up a navigation of the main frame to url that the program asked for.
    void started(const QUrl& url);
    // The site sent the navigation on to url.
    void redirected(const QUrl& url);
    // The page shows url now (its address changed).
    void shown(const QUrl& url);
    // The page ended loading showing url.
    Decision ended(const QUrl& shown);
    // The while after CheckLater is over: the address to ask for again if it is still unshown.
    std::optional<QUrl> checkNow();

    // Whether a load the program asked for is still followed (and may be asked again).
    bool isFollowing() const { return asked_.has_value(); }

    // Whether two addresses name the same thing once escapes are undone, as the engine
    // writes them back in its own canonical form.
    static bool sameAddress(const QUrl& a, const QUrl& b);

private:
    std::optional<QUrl> askAgain();

    std::optional<QUrl> asked_;
    QUrl expected_; // the address asked for, or where the site sent it on to
    bool started_ = false;
    bool checking_ = false;
    int retries_ = 0;
};

} // namespace browser
