#pragma once

#include <QList>
#include <QString>

namespace input {

// When a key in the search box looks its text up.
//
// Enter looks up single-byte text at once. Text with a double-byte character waits for a
// second Enter with no other key between: the first Enter is the one that ended the
// composition in the input method. On Linux the input method takes that Enter itself: the
// box receives the composed text as a commit, then at most the Enter's release without its
// press. So a commit of composed text stands for the first Enter, and a release whose press
// the box never received belongs to the input method and counts for nothing; one Enter after
// the commit looks the text up. Text with a double-byte character that arrived another way
// (a copy, a paste) still needs two Enters. Text with "http://" in it (an address shown in the
// box) is never looked up by Enter.
class EnterLookupRule {
public:
    // A key press that reached the box (not one the input method took).
    void keyPressed(int key);
    // A key release; returns true when it should start a lookup of `text`, the box's text.
    bool keyReleased(int key, const QString& text);
    // The input method committed `committed` into the box.
    void textCommitted(const QString& committed);
    // The box lost the keyboard focus: releases of keys pressed before belong elsewhere.
    void focusLost();

    // An Enter (or a commit standing for it) was held back, waiting for a second one.
    bool enterHeldBack() const { return enterHeldBack_; }

private:
    QList<int> pressed_;
    bool enterHeldBack_ = false;
};

} // namespace input
