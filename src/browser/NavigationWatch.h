#pragma once

#include <QUrl>
#include <optional>

namespace browser {

// Follows the last load the program asked a page for until the page shows it.
//
// While one navigation is being committed and another is on its way, the engine now and
// then loses a load asked for: either no request leaves for it, or its request leaves and
// the page still ends on the older address. A page ends loading only once every navigation
// of it has ended, so a page that ends on another address than the one asked for has lost
// it, and asking once more, with nothing else in flight, shows it.
class NavigationWatch {
public:
    // Asking again is bounded: a site that answers without a page (a download, "no content")
    // leaves the page where it was, and gets one more request, not a loop.
    static constexpr int kMaxRetries = 1;

    // The program asked for url.
    void asked(const QUrl& url);
    // The user or the page went somewhere else (back, forward, reload, a link, a new window
    // put into the page): the load asked for before no longer matters.
    void superseded();
    // The engine took up a navigation of the main frame to url that the program asked for.
    void started(const QUrl& url);
    // The site sent the navigation on to url.
    void redirected(const QUrl& url);
    // The page ended loading showing url. The address to ask for again when the page lost it.
    std::optional<QUrl> ended(const QUrl& shown);

    // Whether two addresses name the same thing once escapes are undone, as the engine
    // writes them back in its own canonical form.
    static bool sameAddress(const QUrl& a, const QUrl& b);

private:
    std::optional<QUrl> asked_;
    QUrl expected_; // the address asked for, or where the site sent it on to
    bool started_ = false;
    int retries_ = 0;
};

} // namespace browser
