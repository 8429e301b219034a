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
    // Modal to the window only, so that the tray goes on answering.
    if (parent)
        dialog->setWindowModality(Qt::WindowModal);
    std::optional<Choice> result;
    connect(dialog, &ProxyDialog::chosen, this, [&](quint8 chosenChoice, const QString& kept) {
        result = Choice{chosenChoice, kept};
        Q_EMIT chosen(*result);
    });
    dialog->exec();
    delete dialog;
    open_ = nullptr;
    Q_EMIT openChanged(false);
    return result;
}

} // namespace app
