#include "browser/StartPageSchemeHandler.h"

#include "browser/StartPage.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>

namespace browser {

void StartPageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    if (job->requestUrl().path() != QLatin1StringView(kStartPagePath)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* body = new QBuffer(job); // the job outlives the reply and takes the buffer with it
    body->setData(startPageHtml());
    job->reply("text/html", body);
}

} // namespace browser
