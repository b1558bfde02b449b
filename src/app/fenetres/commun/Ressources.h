#pragma once

// The program's Qt resources (icon and help pages) live in a static library: this registers
// them before their first use. Any number of calls.

namespace korv4 {

void ChargeRessources();

}  // namespace korv4
