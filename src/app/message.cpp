#include "app/message.h"

#include "platform/platform.h"
#include "res/string_table.h"

namespace brevant {

int ShowMessage(Platform& platform, int id, const QString& prefix, unsigned flags)
{
    const auto text = LoadStringEntry(id);
    if (!text)
        return 0;
    return platform.MessageBox(prefix + *text, AppName(), flags);
}

} // namespace brevant
