#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLineEdit;

namespace app {

// The proxy dialog "Proxy（プロキシ）設定": ON or OFF, and the proxy as host:port.
//
// It takes the saved choice and address and, after OK, gives back the ones to keep; it applies
// nothing itself. OK with ON and an address that names no proxy server tells the user what is
// wrong and keeps the dialog open. Closing it any other way (close box, Esc) changes nothing.
class ProxyDialog : public QDialog {
    Q_OBJECT
public:
    // How the settings hold the choice: 0 is ON; any other value is OFF.
    static constexpr quint8 kUseProxy = 0;
    static constexpr quint8 kNoProxy = 1;

    ProxyDialog(quint8 choice, const QString& address, QWidget* parent = nullptr);

    // The choice and the address to keep. ON with a blank address is kept as OFF, since no
    // proxy is what it puts in force; OFF keeps the address saved before for the next time.
    quint8 choice() const { return choice_; }
    QString address() const { return address_; }

    void accept() override;

Q_SIGNALS:
    // OK was pressed; sent while the dialog is still shown, so that whatever the choice puts in
    // force is in force by the time the dialog disappears.
    void chosen(quint8 choice, const QString& address);

private:
    bool onSelected() const;
    void showAddressFrame();

    QGroupBox* radioGroup_;
    QButtonGroup* radioItems_;
    QGroupBox* addressFrame_;
    QLineEdit* addressEdit_;
    quint8 choice_;
    QString address_;
};

} // namespace app
