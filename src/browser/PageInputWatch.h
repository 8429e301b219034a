#pragma once

#include <QObject>

class QWidget;

namespace browser {

// Whether the user pressed a mouse button or a key in a page since the page last started a
// link's navigation.
//
// The engine reports a site's redirect that follows a clicked link as a clicked link of its
// own, now and then, when the click's gesture is still fresh. One press of the user's stands
// for one link: the redirect behind it finds none left.
class PageInputWatch : public QObject {
    Q_OBJECT
public:
    // Follows the presses on view and on each widget the engine puts into it.
    explicit PageInputWatch(QWidget* view);

    // Whether a press came since the last call; the press is used up.
    bool takePress();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace browser
