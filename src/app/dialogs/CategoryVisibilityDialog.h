#pragma once

#include "settings/CategoryVisibility.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace dialogs {

// "辞書の追加・解除": a tick per category for whether its submenu is listed in "辞書の選択".
// Ticking changes nothing until "閉じる", which accepts the dialog; closing it any other way
// (Escape) leaves everything as it was.
class CategoryVisibilityDialog : public QDialog {
    Q_OBJECT
public:
    explicit CategoryVisibilityDialog(const settings::CategoryVisibility& ticks,
                                      QWidget* parent = nullptr);

    // The ticks as they stand.
    settings::CategoryVisibility ticks() const;

private:
    QListWidget* list_;
    QPushButton* closeButton_;
};

} // namespace dialogs
