#include "browser/TEmbeddedWBFactory.h"

#include "browser/TEmbeddedWB.h"

#include <QWebEngineProfile>

namespace browser {

TEmbeddedWBFactory::TEmbeddedWBFactory(QWebEngineProfile* profile) : profile_(profile) {}

WebBrowser* TEmbeddedWBFactory::create(QWidget* owner) {
    return new TEmbeddedWB(profile_ ? profile_ : QWebEngineProfile::defaultProfile(), owner);
}

} // namespace browser
