#include "app/menus/SupportCommands.h"

#include "app/menus/CommandRegistry.h"

#include <QAction>
#include <QDesktopServices>
#include <QUrlQuery>
#include <QWidget>

namespace app {

SupportCommands::SupportCommands(CommandRegistry& commands, QWidget* window) : QObject(window) {
    homePage_ = commands.make(Command::OpenHomePage, window);
    blog_ = commands.make(Command::OpenBlog, window);
    board_ = commands.make(Command::OpenSupportBoard, window);
    mail_ = commands.make(Command::MailTheAuthor, window);
    about_ = commands.make(Command::ShowAbout, window);

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
