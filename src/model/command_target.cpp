#include "model/command_target.h"

namespace {
CommandTarget* gTarget = nullptr;
}

void SetCommandTarget(CommandTarget* target) { gTarget = target; }
CommandTarget* GetCommandTarget() { return gTarget; }
