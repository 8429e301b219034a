#pragma once

#include <QString>

namespace app {

// Shell special-folder numbers the program asks for.
constexpr int CSIDL_PERSONAL = 5; // the user's documents folder

// The file-system path of a special folder, without a trailing separator, so that
// "/Lexorra2" can be appended directly. Only the documents folder is known; any other
// number, or a documents folder that cannot be resolved, gives an empty string.
QString GetSpecialFolder(int folder);

} // namespace app
