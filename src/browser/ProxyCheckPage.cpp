#include "browser/ProxyCheckPage.h"

namespace browser {

QString proxyCheckPageUrl() {
    return QStringLiteral("https://www.ugtop.com/spill.shtml");
}

} // namespace browser
