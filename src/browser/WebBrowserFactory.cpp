#include "browser/WebBrowserFactory.h"

namespace browser {

WebBrowserFactory::~WebBrowserFactory() = default;

} // namespace browser
