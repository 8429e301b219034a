#include "app/LoadingBar.h"

#include <algorithm>

namespace app {

LoadingBar::LoadingBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setTextVisible(false);
    setFixedHeight(kHeight);
    setStyleSheet(QStringLiteral("QProgressBar { border: none; background: #d8d8e0; }"
                                 "QProgressBar::chunk { background: #2f6db5; }"));
}

void LoadingBar::setProgress(int percent) {
    if (percent < 0) {
        // A range of nothing: the style moves the bar to and fro by itself.
        setRange(0, 0);
        return;
    }
    setRange(0, 100);
    setValue(std::max(percent, kLeastPercent));
}

} // namespace app
