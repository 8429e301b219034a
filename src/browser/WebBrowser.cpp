#include "browser/WebBrowser.h"

namespace browser {

WebBrowser::~WebBrowser() = default;

} // namespace browser
