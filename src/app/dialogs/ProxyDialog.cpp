#include "app/dialogs/ProxyDialog.h"

#include "settings/ProxyAddress.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kTitle = QStringLiteral("Proxy（プロキシ）設定");

} // namespace

ProxyDialog::ProxyDialog(quint8 choice, const QString& address, QWidget* parent)
    : QDialog(parent), radioGroup_(new QGroupBox(QStringLiteral("プロキシ"), this)),
      radioItems_(new QButtonGroup(this)), addressFrame_(new QGroupBox(this)),
      addressEdit_(new QLineEdit(addressFrame_)), choice_(choice), address_(address) {
    setObjectName(QStringLiteral("Proxy_Form"));
    setWindowTitle(kTitle);
    setFixedSize(462, 175);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    radioGroup_->setObjectName(QStringLiteral("Proxy_RadioGroup"));
    auto* on = new QRadioButton(QStringLiteral("ON"), radioGroup_);
    auto* off = new QRadioButton(QStringLiteral("OFF"), radioGroup_);
    radioItems_->addButton(on, kUseProxy);
    radioItems_->addButton(off, kNoProxy);
    auto* radios = new QVBoxLayout(radioGroup_);
    radios->addWidget(on);
    radios->addWidget(off);
    radios->addStretch();

    addressFrame_->setObjectName(QStringLiteral("GroupBox2"));
    addressEdit_->setObjectName(QStringLiteral("Proxy_Edit"));
    auto* example =
        new QLabel(QStringLiteral("入力例 *.*.*.*:8080\u3000のようにportも含む"), addressFrame_);
    example->setObjectName(QStringLiteral("AddressExample"));
    auto* frame = new QVBoxLayout(addressFrame_);
    frame->addWidget(addressEdit_);
    frame->addWidget(example);
    frame->addStretch();
    // Hidden while OFF is chosen; the rest of the dialog stays where it is.
    QSizePolicy keepPlace = addressFrame_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    addressFrame_->setSizePolicy(keepPlace);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    ok->setMinimumWidth(80);
    connect(ok, &QPushButton::clicked, this, &ProxyDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(radioGroup_);
    top->addWidget(addressFrame_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    // Tab goes from the choice to the address and on to OK, in the order they are read.
    setTabOrder(on, off);
    setTabOrder(off, addressEdit_);
    setTabOrder(addressEdit_, ok);

    (choice == kUseProxy ? on : off)->setChecked(true);
    if (!address.isEmpty())
        addressEdit_->setText(address);
    showAddressFrame();
    connect(radioItems_, &QButtonGroup::idClicked, this, &ProxyDialog::showAddressFrame);
    // The address is ready for typing; with OFF the choice itself has the focus.
    if (onSelected())
        addressEdit_->setFocus();
    else
        off->setFocus();
}

bool ProxyDialog::onSelected() const {
    return radioItems_->checkedId() == kUseProxy;
}

void ProxyDialog::showAddressFrame() {
    addressFrame_->setVisible(onSelected());
}

void ProxyDialog::accept() {
    const QString typed = addressEdit_->text().trimmed();
    if (onSelected() && !typed.isEmpty()) {
        QString error;
        if (!settings::ProxyAddress::parse(typed, &error)) {
            QMessageBox box(QMessageBox::Warning, kTitle, error, QMessageBox::Ok, this);
            box.setObjectName(QStringLiteral("ProxyAddressError"));
            box.setWindowModality(Qt::WindowModal);
            box.exec();
            addressEdit_->setFocus();
            addressEdit_->selectAll();
            return;
        }
        choice_ = kUseProxy;
        address_ = typed;
    } else {
        choice_ = kNoProxy;
    }
    Q_EMIT chosen(choice_, address_);
    QDialog::accept();
}

} // namespace app
