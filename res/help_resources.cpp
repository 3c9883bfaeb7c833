#include "help_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitHelpQrc()
{
    Q_INIT_RESOURCE(help);
}

namespace brevant {

void InitHelpResources()
{
    static const bool done = (InitHelpQrc(), true);
    Q_UNUSED(done);
}

}  // namespace brevant
