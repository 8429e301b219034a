#include "app/menus/ProxyCommands.h"

#include "app/dialogs/ProxyDialogRunner.h"
#include "app/menus/CommandRegistry.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QWidget>

namespace app {

ProxyCommands::ProxyCommands(settings::OptionsStore& options, CommandRegistry& commands,
                             QWidget* window)
    : QObject(window), options_(options), window_(window) {
    dialog_ = new ProxyDialogRunner(this);
    dialog_->setObjectName(QStringLiteral("ProxyDialogRunner"));
    connect(dialog_, &ProxyDialogRunner::chosen, this,
            [this](const ProxyDialogRunner::Choice& chosen) {
                options_.setProxy(chosen.choice, chosen.address);
            });

    set_ = commands.make(Command::ChooseProxy, window);
    connect(set_, &QAction::triggered, this, &ProxyCommands::showDialog);
    check_ = commands.make(Command::CheckProxy, window);
    connect(check_, &QAction::triggered, this, &ProxyCommands::checkPageRequested);
}

void ProxyCommands::showDialog() {
    const settings::Options& options = options_.options();
    dialog_->run(window_, options.proxyChoice, options.proxyAddress);
}

} // namespace app
