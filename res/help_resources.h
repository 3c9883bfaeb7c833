#pragma once
// The compiled-in help page texts (res/help/, format in res/help/README.md).

namespace brevant {

// Makes the help texts reachable under ":/help/". The resource data sits in a static
// library, so the linker keeps it only when this is called; calling it again is harmless.
void InitHelpResources();

}  // namespace brevant
