#include "commandsui.h"

CommandsUi::CommandsUi() = default;
