#include "browser/ExternalProgramDialog.h"

#include <QMessageBox>
#include <QPushButton>

namespace browser {

bool ExternalProgramDialog::confirmOpening(QWidget* parent, const QUrl& address) {
    constexpr int kShownAddressLength = 300;
    QString shown = QString::fromUtf8(address.toEncoded());
    if (shown.size() > kShownAddressLength)
        shown = shown.left(kShownAddressLength) + QStringLiteral("…");
    // Plain text throughout: the address is the page's.
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("外部のプログラムを開きますか"),
        QStringLiteral("このページのリンクは「%1:」のアドレスです。"
                       "このコンピューターのほかのプログラムで開こうとしています。\n\n%2")
            .arg(address.scheme(), shown),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("ExternalProgramDialog"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("開く"));
    box.button(QMessageBox::No)->setText(QStringLiteral("開かない"));
    return box.exec() == QMessageBox::Yes;
}

} // namespace browser
