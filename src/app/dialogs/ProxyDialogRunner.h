#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

namespace app {

// Shows the proxy dialog: made on each use, modal, deleted once closed. While it exists
// (isOpen, openChanged) copies start no lookup; whoever watches the clipboard asks here.
class ProxyDialogRunner : public QObject {
    Q_OBJECT
public:
    struct Choice {
        quint8 choice; // 0: use the proxy; 1: none
        QString address;
        friend bool operator==(const Choice&, const Choice&) = default;
    };

    using QObject::QObject;

    // Shows the dialog with the saved choice and address and returns the ones to keep after
    // OK (sent through chosen as well), nothing when it was closed otherwise. A second call
    // while the dialog is open only brings it to the front and returns nothing.
    std::optional<Choice> run(QWidget* parent, quint8 choice, const QString& address);

    bool isOpen() const { return !open_.isNull(); }

Q_SIGNALS:
    void openChanged(bool open);
    // OK was pressed: sent while the dialog is still shown, so that what the choice puts in
    // force is in force before the dialog disappears and copies start lookups again.
    void chosen(const app::ProxyDialogRunner::Choice& choice);

private:
    QPointer<QWidget> open_;
};

} // namespace app
