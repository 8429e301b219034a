#include "app/menus/SupportCommands.h"

#include "app/menus/NamedAction.h"

#include <QAction>
#include <QDesktopServices>
#include <QUrlQuery>
#include <QWidget>

namespace app {

SupportCommands::SupportCommands(QWidget* window) : QObject(window) {
    homePage_ = makeNamedAction(window, "Action30", QStringLiteral("公式ホームページ(&W)"));
    blog_ = makeNamedAction(window, "Action3", QStringLiteral("開発blogを開く(&B)"));
    board_ = makeNamedAction(window, "Action4", QStringLiteral("サポートBBSに行く(&S)"));
    mail_ = makeNamedAction(window, "Action6", QStringLiteral("作者にメールする(&Y)"));
    about_ = makeNamedAction(window, "Action7", QStringLiteral("バージョン情報(&Z)"));

    auto openPage = [this](const char* url) {
        return [this, url] { Q_EMIT openPageRequested(QString::fromLatin1(url)); };
    };
    connect(homePage_, &QAction::triggered, this, openPage(kHomePage));
    connect(blog_, &QAction::triggered, this, openPage(kBlog));
    connect(board_, &QAction::triggered, this, openPage(kBoard));
    connect(mail_, &QAction::triggered, this, &SupportCommands::writeMail);
    connect(about_, &QAction::triggered, this, &SupportCommands::aboutRequested);
}

QUrl SupportCommands::mailUrl() {
    QUrl url(QStringLiteral("mailto:") + QLatin1String(kMailAddress));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Lexorraサポート係へ"));
    url.setQuery(query);
    return url;
}

void SupportCommands::writeMail() {
    if (!QDesktopServices::openUrl(mailUrl()))
        Q_EMIT mailFailed(QStringLiteral("メールソフトを開けませんでした。%1 宛てにお送りください")
                              .arg(QLatin1String(kMailAddress)));
}

} // namespace app
