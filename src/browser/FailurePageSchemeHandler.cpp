#include "browser/FailurePageSchemeHandler.h"

#include "browser/FailurePage.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>

namespace browser {

void FailurePageSchemeHandler::allowOnce(const std::shared_ptr<FailurePage>& page) {
    for (auto it = allowed_.begin(); it != allowed_.end();)
        it = it->expired() ? allowed_.erase(it) : std::next(it);
    allowed_.insert(page->id(), page);
}

void FailurePageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const std::shared_ptr<FailurePage> page =
        job->requestMethod() == "GET" ? allowed_.take(FailurePage::idOf(job->requestUrl())).lock()
                                      : nullptr;
    if (!page) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    page->renewToken();
    auto* body = new QBuffer(job); // the job outlives the reply and takes the buffer with it
    body->setData(page->html().toUtf8());
    job->reply("text/html", body);
}

} // namespace browser
