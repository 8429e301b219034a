#include "app/PauseIndicator.h"

#include <QLabel>
#include <QStatusBar>
#include <QWidget>

namespace app {

PauseIndicator::PauseIndicator(QWidget& window, QStatusBar& statusBar, QObject* parent)
    : QObject(parent), window_(window), title_(window.windowTitle()),
      label_(new QLabel(kPausedText, &statusBar)) {
    label_->setObjectName(QStringLiteral("PausedIndicator"));
    label_->setStyleSheet(QStringLiteral("QLabel#PausedIndicator { color: #b00000; }"));
    statusBar.addPermanentWidget(label_);
    label_->hide();
}

void PauseIndicator::setPaused(bool paused) {
    label_->setVisible(paused);
    window_.setWindowTitle(titleFor(title_, paused));
}

QString PauseIndicator::titleFor(const QString& title, bool paused) {
    return paused ? title + QStringLiteral(" - ") + kPausedText : title;
}

} // namespace app
