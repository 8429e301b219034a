#pragma once

#include "timing/OneShotTimer.h"

#include <QObject>
#include <memory>

namespace browser {

// Whether a page's loading is worth showing, and how far it has come. A page that arrives at
// once shows nothing: the indicator appears only when loading has lasted a moment, and goes
// as soon as the page has loaded or failed.
//
// The engine sets its progress to a sliver the moment a load starts and leaves it there until
// the site answers, which can take seconds: until the progress passes that mark nothing has
// arrived, and the indicator says so rather than show a percentage that does not move.
class LoadingIndicator : public QObject {
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 300;
    // progress() while nothing of the page has arrived.
    static constexpr int kNothingArrived = -1;
    // The engine's progress when a load starts, before any answer (Chromium's 10 %).
    static constexpr int kEngineStartMark = 10;

    explicit LoadingIndicator(QObject* parent = nullptr);
    explicit LoadingIndicator(const timing::OneShotTimerFactory& makeTimer,
                              QObject* parent = nullptr);
    ~LoadingIndicator() override;

    void started();
    // The engine's progress, 0 to 100.
    void progressed(int percent);
    void ended();

    bool isLoading() const { return loading_; }
    bool isVisible() const { return visible_; }
    // 0 to 100, or kNothingArrived.
    int progress() const { return progress_; }

Q_SIGNALS:
    void visibleChanged(bool visible);
    void progressChanged(int percent);

private:
    void setVisible(bool visible);

    std::unique_ptr<timing::OneShotTimer> delay_;
    bool loading_ = false;
    bool visible_ = false;
    int progress_ = kNothingArrived;
};

} // namespace browser
