#include "app/dialogs/CategoryVisibilityDialog.h"

#include "app/dialogs/DialogPlacement.h"

#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace dialogs {

using settings::CategoryVisibility;

namespace {

constexpr int kRowHeight = 17;
constexpr QSize kDesignedSize(290, 556);
// The designed places: the list at 32, 8 (225 by 465), the button at 32, 495 (225 by 43).
constexpr QMargins kMargins(32, 8, 33, 18);
constexpr int kColumnWidth = 225;
constexpr int kButtonHeight = 43;
constexpr int kButtonGap = 22;
constexpr int kListFrame = 2 * 2; // the list's own border, both sides

} // namespace

CategoryVisibilityDialog::CategoryVisibilityDialog(const CategoryVisibility& ticks, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("JISYO_TUIKA_KAIJYO_Form"));
    setWindowTitle(QStringLiteral("辞書の追加・解除"));
    // Modal to the window only, so that the tray goes on answering.
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("CheckListBox1"));
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
    closeButton_->setFixedHeight(kButtonHeight);
    closeButton_->setDefault(true);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargins);
    layout->setSpacing(kButtonGap);
    layout->addWidget(list_, 1);
    layout->addWidget(closeButton_);

    // On a screen too low for the designed size (a large scaling factor) the lines go into
    // columns side by side, and scroll only when even those do not fit; the button stays
    // below them, always in sight.
    QRect placed = placeDialog(parent, kDesignedSize);
    if (placed.height() < kDesignedSize.height()) {
        const int listHeight = placed.height() - kMargins.top() - kMargins.bottom() - kButtonGap -
                               kButtonHeight - kListFrame;
        const int rows = std::max(1, listHeight / kRowHeight);
        const int columns = (CategoryVisibility::kLineCount + rows - 1) / rows;
        const QSize wider(kMargins.left() + columns * kColumnWidth + kMargins.right(),
                          kDesignedSize.height());
        placed = placeDialog(parent, wider);
        list_->setFlow(QListView::TopToBottom);
        list_->setWrapping(true);
        list_->setResizeMode(QListView::Adjust);
        list_->setGridSize(QSize(kColumnWidth - kListFrame / columns, kRowHeight));
    }
    setFixedSize(placed.size());
    move(placed.topLeft());
}

CategoryVisibility CategoryVisibilityDialog::ticks() const {
    CategoryVisibility ticks;
    for (int line = 0; line < CategoryVisibility::kLineCount; ++line)
        ticks.setShown(line, list_->item(line)->checkState() == Qt::Checked);
    return ticks;
}

} // namespace dialogs
