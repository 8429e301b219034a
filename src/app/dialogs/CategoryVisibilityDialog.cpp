#include "app/dialogs/CategoryVisibilityDialog.h"

#include <QFont>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace dialogs {

using settings::CategoryVisibility;

namespace {
constexpr int kRowHeight = 17;
} // namespace

CategoryVisibilityDialog::CategoryVisibilityDialog(const CategoryVisibility& ticks, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("JISYO_TUIKA_KAIJYO_Form"));
    setWindowTitle(QStringLiteral("辞書の追加・解除"));
    // Modal to the window only, so that the tray goes on answering.
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    setFixedSize(290, 556);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("CheckListBox1"));
    list_->setGeometry(32, 8, 225, 465);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    list_->setFont(font);
    for (int line = 0; line < CategoryVisibility::kLineCount; ++line) {
        auto* item = new QListWidgetItem(CategoryVisibility::labelOfLine(line), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(ticks.isShown(line) ? Qt::Checked : Qt::Unchecked);
        // All 26 lines fit the list, as they did in the original's 13-pixel rows.
        item->setSizeHint(QSize(0, kRowHeight));
    }

    closeButton_ = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton_->setObjectName(QStringLiteral("Button1"));
    closeButton_->setGeometry(32, 495, 225, 43);
    closeButton_->setDefault(true);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

CategoryVisibility CategoryVisibilityDialog::ticks() const {
    CategoryVisibility ticks;
    for (int line = 0; line < CategoryVisibility::kLineCount; ++line)
        ticks.setShown(line, list_->item(line)->checkState() == Qt::Checked);
    return ticks;
}

} // namespace dialogs
