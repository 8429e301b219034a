#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QAction;
class QWidget;

namespace app {

class CommandRegistry;

// The commands of the "サポート" menu: the project's pages, opened in a tab of the program, a
// mail to the project through the desktop's mail program, and the About box (shown by the
// window).
class SupportCommands : public QObject {
    Q_OBJECT
public:
    // The project's home page, development blog, support board and mail address.
    static constexpr const char* kHomePage = "https://lexorra2.org/";
    static constexpr const char* kBlog = "https://blog.lexorra2.org/";
    static constexpr const char* kBoard = "https://bbs.lexorra2.org/bbs/";
    static constexpr const char* kMailAddress = "support@lexorra2.org";

    // Makes the actions of OpenHomePage, OpenBlog, OpenSupportBoard, MailTheAuthor and
    // ShowAbout as children of window.
    SupportCommands(CommandRegistry& commands, QWidget* window);

    // mailto: with the address and the subject "Lexorraサポート係へ".
    static QUrl mailUrl();

    QAction* homePageAction() const { return homePage_; }
    QAction* blogAction() const { return blog_; }
    QAction* boardAction() const { return board_; }
    QAction* mailAction() const { return mail_; }
    QAction* aboutAction() const { return about_; }

Q_SIGNALS:
    // A page to show in a tab, by the tab manager's rule (the active tab, or a new one).
    void openPageRequested(const QString& url);
    // The desktop has no program for mail; a sentence for the status bar.
    void mailFailed(const QString& message);
    void aboutRequested();

private:
    void writeMail();

    QAction* homePage_ = nullptr;
    QAction* blog_ = nullptr;
    QAction* board_ = nullptr;
    QAction* mail_ = nullptr;
    QAction* about_ = nullptr;
};

} // namespace app
