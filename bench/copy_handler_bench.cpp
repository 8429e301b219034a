// The time lexorra2 itself spends on a copy: from the clipboard's change notice to the
// navigation handed to the browser, in the real main window with a recording browser in
// place of the engine (offscreen, so no display and no engine take part).
//
//   copy_handler_bench [ITERATIONS]   (default 3000 per measurement)
//
// The figures, each over distinct texts:
//   notice to navigation   from QClipboard::changed to the browser's load(), the path of the
//                          watcher, the normalisation, the dispatch and the tab host (with
//                          bringing the window forward off and on: it comes after load());
//   whole handler          the clipboard's setText() returning, everything the copy runs,
//                          with bringing the window forward off ...
//   ... and on             (raising processes pending events, as the program does).
#include "app/MainWindow.h"
#include "support/FakeBrowser.h"
#include "support/Named.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point g_navigated;

// Stamps the moment the tab host hands an address to the browser.
class TimedBrowser : public FakeBrowser {
public:
    using FakeBrowser::FakeBrowser;
    void load(const QString& address) override {
        g_navigated = Clock::now();
        FakeBrowser::load(address);
        // Keep memory flat over many thousands of copies.
        goCalls.clear();
    }
};

class TimedBrowserFactory : public FakeBrowserFactory {
public:
    browser::WebBrowser* create(QWidget* owner) override { return new TimedBrowser(owner); }
};

struct Figures {
    double median;
    double p90;
};

Figures summarise(std::vector<double> us) {
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) {
        return us[std::min(us.size() - 1, static_cast<std::size_t>(q * (us.size() - 1) + 0.5))];
    };
    return {at(0.5), at(0.9)};
}

// The offscreen platform cannot raise windows and says so on every bring-forward.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

double micros(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreen);
    QApplication application(argc, argv);
    const int iterations = argc > 1 ? std::max(10, atoi(argv[1])) : 3000;

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // Connected before the window's watcher, so it runs first on every change.
    Clock::time_point noticed;
    QObject::connect(clipboard, &QClipboard::changed, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            noticed = Clock::now();
    });

    TimedBrowserFactory browsers;
    app::MainWindow form(&browsers);
    form.show();
    // The start sequence, at once rather than after its second.
    named<QTimer>(form, "Timer1")->setInterval(0);
    QDeadlineTimer deadline(5000);
    while (named<QTimer>(form, "Timer1")->isActive() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);

    int serial = 0;
    auto run = [&](bool bringForward, std::vector<double>* toNavigation,
                   std::vector<double>* handler) {
        named<QAction>(form, "copy_window_zenmen_on")->setChecked(bringForward);
        for (int i = 0; i < iterations; ++i) {
            // Alternating scripts, full-width letters included, every text new.
            const int n = ++serial;
            const QString text =
                n % 2 ? QStringLiteral("辞書%1").arg(n) : QStringLiteral("ｗｏｒｄ %1").arg(n);
            g_navigated = {};
            const Clock::time_point before = Clock::now();
            clipboard->setText(text);
            const Clock::time_point after = Clock::now();
            if (g_navigated == Clock::time_point{}) {
                std::fprintf(stderr, "copy %d was not looked up\n", n);
                std::exit(1);
            }
            if (toNavigation)
                toNavigation->push_back(micros(noticed, g_navigated));
            handler->push_back(micros(before, after));
        }
    };

    std::vector<double> toNavigation, toNavigationOn, handlerOff, handlerOn;
    run(false, nullptr, &handlerOff); // warm-up
    handlerOff.clear();
    run(false, &toNavigation, &handlerOff);
    run(true, &toNavigationOn, &handlerOn);

    const Figures nav = summarise(toNavigation);
    const Figures navOn = summarise(toNavigationOn);
    const Figures off = summarise(handlerOff);
    const Figures on = summarise(handlerOn);
    std::printf("%d copies per figure; microseconds, median / 90th percentile\n", iterations);
    std::printf("notice to navigation (bring forward off): %8.1f / %8.1f\n", nav.median, nav.p90);
    std::printf("notice to navigation (bring forward on):  %8.1f / %8.1f\n", navOn.median,
                navOn.p90);
    std::printf("whole handler, bring forward off:         %8.1f / %8.1f\n", off.median, off.p90);
    std::printf("whole handler, bring forward on:          %8.1f / %8.1f\n", on.median, on.p90);
    return 0;
}
