#pragma once

#include <QString>

namespace input {

// When a key released in the search box looks its text up. Enter looks up single-byte text
// at once; text with a double-byte character (Japanese, most likely still being composed)
// waits for a second Enter with no other key between. Text with "http://" in it (an address
// shown in the box) is never looked up by Enter.
class OneClickRule {
public:
    // Returns true when the release should start a lookup of `text`.
    bool keyReleased(bool enter, const QString& text);

    // An Enter was held back, waiting for a second one.
    bool enterHeldBack() const { return enterHeldBack_; }

private:
    bool enterHeldBack_ = false;
};

} // namespace input
