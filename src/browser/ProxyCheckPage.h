#pragma once

#include <QString>

namespace browser {

// The page the proxy menu's check command opens in a tab: an outside site that shows the
// address and host the request came from and whether it passed a proxy ("確認くん"), so the
// user sees at a glance whether the proxy just set is in use.
QString proxyCheckPageUrl();

} // namespace browser
