#include "browser/TTabSheet.h"

namespace browser {

TTabSheet::TTabSheet(QWidget* parent) : QWidget(parent) {}

TTabSheet::~TTabSheet() = default;

void TTabSheet::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    Q_EMIT captionChanged();
}

} // namespace browser
