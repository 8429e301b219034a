// The floor of this stack: the least a Qt WebEngine program does to show a page. The
// measuring scripts run it beside lexorra2 with the same page, display and engine flags.
//
//   bare_webengine URL [TABS]   shows URL in TABS tabs (default 1) of one window
#include <QApplication>
#include <QMainWindow>
#include <QTabWidget>
#include <QUrl>
#include <QWebEngineView>
#include <algorithm>

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    const QUrl url(args.at(1));
    const int tabs = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 1;

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare-webengine"));
    auto* tabWidget = new QTabWidget(&window);
    for (int i = 0; i < tabs; ++i) {
        auto* view = new QWebEngineView(tabWidget);
        tabWidget->addTab(view, QStringLiteral("Loading..."));
        view->load(url);
    }
    window.setCentralWidget(tabWidget);
    window.resize(1008, 599);
    window.show();
    return application.exec();
}
