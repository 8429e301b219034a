#pragma once

#include <QString>

namespace input {

// Full-width digits, letters and the punctuation between them (U+FF10..U+FF5A) become their
// ASCII forms; everything else, full-width ！ to ／, ｛ to ～ and the ideographic space
// included, stays as it is.
QString fullWidthToAscii(QString text);

} // namespace input
