#include "app/dialogs/AboutBox.h"

#include "app/dialogs/DialogPlacement.h"
#include "app/dialogs/ProductLogo.h"
#include "app/dialogs/VersionText.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace app {

namespace {

constexpr int kWidth = 772;
constexpr int kHeight = 468;

// Meiryo where the user has it; the CJK face that Debian ships otherwise.
QFont creditFont(double scale) {
    QFont font(QStringList{QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"),
                           QStringLiteral("DejaVu Sans")});
    font.setPixelSize(std::max(12, qRound(24 * scale)));
    return font;
}

QLabel* creditLabel(QWidget* parent, const char* name, const QString& text, QPoint at,
                    double scale) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(creditFont(scale));
    label->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    label->move(at * scale);
    label->adjustSize();
    return label;
}

QRect scaled(const QRect& designed, double scale) {
    return QRect(designed.topLeft() * scale, designed.size() * scale);
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    // On a screen smaller than the design (a large scaling factor) the whole box is drawn
    // smaller, logo and credits alike, rather than cut.
    const QRect placed = dialogs::placeDialog(parent, QSize(kWidth, kHeight));
    scale_ = std::min({1.0, double(placed.width()) / kWidth, double(placed.height()) / kHeight});
    const QSize size(qRound(kWidth * scale_), qRound(kHeight * scale_));
    setFixedSize(size);
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
    logo_->setGeometry(scaled(QRect(43, 16, 678, 234), scale_));

    version_ = creditLabel(this, "Version", QString(), QPoint(540, 247), scale_);
    programmer_ =
        creditLabel(this, "ProgrammerCredit", QStringLiteral("プログラム　Lexorra2 開発チーム"),
                    QPoint(59, 311), scale_);
    designer_ =
        creditLabel(this, "DesignerCredit", QStringLiteral("ロゴ・アイコン　Lexorra2 開発チーム"),
                    QPoint(59, 353), scale_);

    // The button keeps its size, its centre and its 15 pixels above the bottom edge.
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    ok_->setGeometry(qRound(387.5 * scale_ - 37.5), size.height() - 40, 75, 25);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    QRect frame(QPoint(), size);
    frame.moveCenter(placed.center());
    move(frame.topLeft());
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
