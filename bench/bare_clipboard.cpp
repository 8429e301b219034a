// The floor of a copy-to-lookup program on this stack: a QWebEngineView that, on every
// change of the clipboard, loads one fixed URL template with the clipboard's text in it.
// copy_latency.py and day_of_use.py run it beside lexorra2 with the same display, engine
// flags and site.
//
//   bare_clipboard [--page-size WxH] [TEMPLATE]
//       TEMPLATE holds {W} where the text goes, UTF-8 and percent-encoded (default: the
//       Japanese dictionary's query). --page-size sizes the window so that the page itself
//       is W by H pixels, as large as another program's page area, so that both compose as
//       many pixels.
//
// Lines on the standard input drive it as a user drives lexorra2's tabs: "new-tabs on" loads
// every later copy in a new tab, "new-tabs off" in the current one again, and "close-tabs"
// closes every tab and opens one empty tab in their place.
#include <QApplication>
#include <QSize>
#include <QClipboard>
#include <QMainWindow>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QSize pageSize;
    if (args.size() >= 2 && args.first() == u"--page-size") {
        const QStringList wh = args.at(1).split(u'x');
        pageSize = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        if (wh.size() != 2 || pageSize.isEmpty()) {
            std::fprintf(stderr, "bare_clipboard: --page-size wants WxH, not %s\n",
                         qPrintable(args.at(1)));
            return 2;
        }
        args = args.mid(2);
    }
    const QString urlTemplate =
        !args.isEmpty() ? args.first()
                        : QStringLiteral("http://dic.yahoo.co.jp/detail?p={W}&stype=0&dtype=0");

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare-clipboard"));
    auto* tabs = new QTabWidget(&window);
    window.setCentralWidget(tabs);
    const auto openTab = [tabs] {
        auto* view = new QWebEngineView;
        tabs->addTab(view, QStringLiteral("page"));
        tabs->setCurrentWidget(view);
        return view;
    };
    openTab();
    bool newTabs = false;

    QClipboard* clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::changed, tabs, [&](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard)
            return;
        const QString text = clipboard->text(QClipboard::Clipboard);
        if (text.isEmpty())
            return;
        QString address = urlTemplate;
        address.replace(QStringLiteral("{W}"), QString::fromLatin1(QUrl::toPercentEncoding(text)));
        auto* view = newTabs ? openTab() : static_cast<QWebEngineView*>(tabs->currentWidget());
        view->load(QUrl(address));
    });

    QByteArray pending;
    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, tabs, [&] {
        char buffer[256];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            commands.setEnabled(false); // end of input: no more commands
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray command = pending.left(end).trimmed();
            if (command == "new-tabs on") {
                newTabs = true;
            } else if (command == "new-tabs off") {
                newTabs = false;
            } else if (command == "close-tabs") {
                while (tabs->count() > 0) {
                    QWidget* page = tabs->widget(0);
                    tabs->removeTab(0);
                    delete page;
                }
                openTab();
            }
        }
    });

    window.resize(1008, 599);
    window.show();
    if (pageSize.isValid()) {
        // The tab bar and frames take what they take, known once shown; the page gets the
        // size asked for.
        QTimer::singleShot(0, &window, [&] {
            window.resize(window.size() + pageSize - tabs->currentWidget()->size());
        });
    }
    return application.exec();
}
