#pragma once

#include <QProgressBar>

namespace app {

// The active tab's loading, as a thin bar under the toolbar: a moving bar while nothing of
// the page has arrived, then how far it has come.
class LoadingBar : public QProgressBar {
public:
    static constexpr int kHeight = 3;
    // A page just begun shows this much, so that the bar is seen at all.
    static constexpr int kLeastPercent = 5;

    explicit LoadingBar(QWidget* parent = nullptr);

    // 0 to 100, or browser::LoadingIndicator::kNothingArrived (any negative value).
    void setProgress(int percent);
    bool isWaiting() const { return maximum() == 0; }
};

} // namespace app
