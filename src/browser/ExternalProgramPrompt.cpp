#include "browser/ExternalProgramPrompt.h"

namespace browser {

ExternalProgramPrompt::~ExternalProgramPrompt() = default;

} // namespace browser
