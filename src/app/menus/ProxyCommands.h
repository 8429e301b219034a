#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace settings {
class OptionsStore;
}

namespace app {

class CommandRegistry;
class ProxyDialogRunner;

// The commands of the "Proxy(プロキシ）" submenu: "設定する" shows the proxy dialog, whose OK
// stores the choice in the options at once (the proxy follows the options); "チェック" asks
// for the check page.
class ProxyCommands : public QObject {
    Q_OBJECT
public:
    // Makes the actions of ChooseProxy and CheckProxy as children of window, which is also
    // the dialog's parent.
    ProxyCommands(settings::OptionsStore& options, CommandRegistry& commands, QWidget* window);

    QAction* setAction() const { return set_; }
    QAction* checkAction() const { return check_; }
    // While the dialog exists no copy may start a lookup: its openChanged tells so.
    ProxyDialogRunner& dialog() const { return *dialog_; }

Q_SIGNALS:
    void checkPageRequested();

private:
    void showDialog();

    settings::OptionsStore& options_;
    QWidget* window_;
    ProxyDialogRunner* dialog_ = nullptr;
    QAction* set_ = nullptr;
    QAction* check_ = nullptr;
};

} // namespace app
