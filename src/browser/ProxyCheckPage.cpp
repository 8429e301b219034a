#include "browser/ProxyCheckPage.h"

namespace browser {

QString ProxyCheckPageUrl() {
    return QStringLiteral("https://www.ugtop.com/spill.shtml");
}

} // namespace browser
