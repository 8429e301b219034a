#include "app/dialogs/AboutBox.h"

#include "app/dialogs/ProductLogo.h"
#include "app/dialogs/VersionText.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace app {

namespace {

constexpr int kWidth = 772;
constexpr int kHeight = 468;

// Meiryo where the user has it; the CJK face that Debian ships otherwise.
QFont creditFont() {
    QFont font(QStringList{QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"),
                           QStringLiteral("DejaVu Sans")});
    font.setPixelSize(24);
    return font;
}

QLabel* creditLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(creditFont());
    label->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFixedSize(kWidth, kHeight);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    QFont font(QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                           QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(11);
    setFont(font);

    logo_ = new ProductLogo(this);
    logo_->setObjectName(QStringLiteral("Pro_ROGO_Image"));
    logo_->setGeometry(43, 16, 678, 234);

    version_ = creditLabel(this, "Version", QString(), 540, 247);
    programmer_ = creditLabel(this, "ProgrammerCredit",
                              QStringLiteral("プログラム　Lexorra2 開発チーム"), 59, 311);
    designer_ = creditLabel(this, "DesignerCredit",
                            QStringLiteral("ロゴ・アイコン　Lexorra2 開発チーム"), 59, 353);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    ok_->setGeometry(350, 428, 75, 25);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void AboutBox::showEvent(QShowEvent* event) {
    // Every showing reads the version anew, in the user's locale of that moment.
    version_->setText(VersionText::current());
    version_->adjustSize();
    QDialog::showEvent(event);
}

QString AboutBox::versionText() const {
    return version_->text();
}

void AboutBox::showModal(QWidget* parent) {
    auto* box = new AboutBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal to the window only: the tray icon, a window of its own, must go on answering,
    // its close included.
    if (parent)
        box->setWindowModality(Qt::WindowModal);
    box->exec();
}

} // namespace app
