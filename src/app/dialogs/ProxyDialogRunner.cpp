#include "app/dialogs/ProxyDialogRunner.h"

#include "app/dialogs/ProxyDialog.h"

namespace app {

std::optional<ProxyDialogRunner::Choice> ProxyDialogRunner::run(QWidget* parent, quint8 choice,
                                                                const QString& address) {
    if (open_) {
        open_->raise();
        open_->activateWindow();
        return std::nullopt;
    }
    QPointer<ProxyDialog> dialog = new ProxyDialog(choice, address, parent);
    open_ = dialog;
    Q_EMIT openChanged(true);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    std::optional<Choice> result;
    if (dialog && accepted)
        result = Choice{dialog->choice(), dialog->address()};
    delete dialog;
    open_ = nullptr;
    Q_EMIT openChanged(false);
    return result;
}

} // namespace app
