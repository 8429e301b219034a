#pragma once

class QWidget;

namespace browser {

class ProxyControl;
class WebBrowser;

// Makes the browser of a new tab page. The program passes the real engine's factory, tests
// a fake one.
class WebBrowserFactory {
public:
    virtual ~WebBrowserFactory();
    // The browser is created as a child of owner (the tab page) and is destroyed with it
    // unless deleted earlier.
    virtual WebBrowser* create(QWidget* owner) = 0;
    // The route of the requests of every browser this factory makes.
    virtual ProxyControl& proxyControl() = 0;
};

} // namespace browser
