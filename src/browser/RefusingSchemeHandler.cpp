#include "browser/RefusingSchemeHandler.h"

#include <QWebEngineUrlRequestJob>

namespace browser {

void RefusingSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
}

} // namespace browser
