#include "browser/ExternalProgramDialog.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace browser {

bool ExternalProgramDialog::confirmOpening(QWidget* parent, const QUrl& address) {
    constexpr int kShownAddressLength = 300;
    constexpr int kLineLength = 60;
    QString encoded = QString::fromUtf8(address.toEncoded());
    if (encoded.size() > kShownAddressLength)
        encoded = encoded.left(kShownAddressLength) + QStringLiteral("…");
    // An address has nowhere to break a line: it is broken every so many characters, so that
    // the box stays within a small screen.
    QStringList lines;
    for (qsizetype at = 0; at < encoded.size(); at += kLineLength)
        lines << encoded.mid(at, kLineLength);
    const QString shown = lines.join(u'\n');
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
