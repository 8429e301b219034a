// The floor of a copy-to-lookup program on this stack: a QWebEngineView that, on every
// change of the clipboard, loads one fixed URL template with the clipboard's text in it.
// copy_latency.py runs it beside lexorra2 with the same display, engine flags and site.
//
//   bare_clipboard [TEMPLATE]   TEMPLATE holds {W} where the text goes, UTF-8 and
//                               percent-encoded (default: the Japanese dictionary's query)
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString urlTemplate =
        args.size() > 1 ? args.at(1)
                        : QStringLiteral("http://dic.yahoo.co.jp/detail?p={W}&stype=0&dtype=0");

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare-clipboard"));
    auto* view = new QWebEngineView(&window);
    window.setCentralWidget(view);

    QClipboard* clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::changed, view, [&](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard)
            return;
        const QString text = clipboard->text(QClipboard::Clipboard);
        if (text.isEmpty())
            return;
        QString address = urlTemplate;
        address.replace(QStringLiteral("{W}"), QString::fromLatin1(QUrl::toPercentEncoding(text)));
        view->load(QUrl(address));
    });

    window.resize(1008, 599);
    window.show();
    return application.exec();
}
